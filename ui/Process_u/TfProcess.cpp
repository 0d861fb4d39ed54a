#include "ui/Process_u/TfProcess.h"

#include "ui/common/DesktopLook.h"

#include <QBitmap>
#include <QFrame>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>

namespace vyp {

namespace {
// Bold, 10 points: characters 13 pixels high.
QFont BoldFont() {
    QFont font = DesktopLook::Font(13);
    font.setBold(true);
    return font;
}
} // namespace

TfProcess::TfProcess(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool) {
    setObjectName(QStringLiteral("fProcess"));
    setFixedSize(kWidth, kHeight);
    DesktopLook::ApplyToWindow(*this);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setGeometry(0, 0, kWidth, kHeight);
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel->setLineWidth(2);
    m_panel->setAutoFillBackground(true);
    m_panel->setBackgroundRole(QPalette::Button);

    auto* label1 = new QLabel(QStringLiteral("Čekejte prosím..."), m_panel);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setFont(BoldFont());
    label1->move(18, 36);
    label1->adjustSize();
    auto* label2 = new QLabel(QStringLiteral("...dělám co můžu..."), m_panel);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setFont(BoldFont());
    label2->move(45, 78);
    label2->adjustSize();

    m_picture = new QLabel(m_panel);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setGeometry(186, 6, 112, 112);
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_movie = new QMovie(QStringLiteral(":/vypisnik/saw.gif"), QByteArray(), this);
    m_movie->setCacheMode(QMovie::CacheAll);
    m_picture->setMovie(m_movie);
    connect(m_movie, &QMovie::frameChanged, this, [this] { UpdateMask(); });

    m_progressBar = new QProgressBar(m_panel);
    m_progressBar->setObjectName(QStringLiteral("ProgressBarFile"));
    m_progressBar->setGeometry(9, 127, 280, 16);
    m_progressBar->setTextVisible(false); // a smooth bar, no blocks and no percentage
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
}

void TfProcess::showEvent(QShowEvent* event) {
    if (!m_placed) {
        // Centred on the screen the first time, kept there for the rest of the run.
        m_placed = true;
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->geometry();
            move(area.x() + std::max(0, (area.width() - kWidth) / 2),
                 area.y() + std::max(0, (area.height() - kHeight) / 2));
        }
    }
    m_movie->start();
    UpdateMask();
    QWidget::showEvent(event);
}

void TfProcess::hideEvent(QHideEvent* event) {
    m_movie->stop();
    QWidget::hideEvent(event);
}

void TfProcess::UpdateMask() {
    // Render without the old mask, then keep every pixel that is not the face colour.
    clearMask();
    const QImage image = grab().toImage();
    const QColor face = palette().color(QPalette::Button);
    setMask(QBitmap::fromImage(image.createMaskFromColor(face.rgb(), Qt::MaskInColor)));
}

} // namespace vyp

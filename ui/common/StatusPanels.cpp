#include "ui/common/StatusPanels.h"

#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

namespace vyp {

StatusPanels::StatusPanels(const std::vector<int>& widths, const QStringList& texts,
                           QWidget* parent)
    : QWidget(parent), m_widths(widths) {
    setFixedHeight(kHeight);
    // The bar never holds its pane open: narrower than its panels, it cuts the last ones off.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    for (size_t i = 0; i < widths.size(); ++i) {
        auto* panel = new QLabel(
            i < static_cast<size_t>(texts.size()) ? texts[static_cast<qsizetype>(i)] : QString(),
            this);
        panel->setObjectName(QStringLiteral("panel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMargin(1);
        m_panels.push_back(panel);
    }
    Arrange();
}

QString StatusPanels::Text(int panel) const {
    return m_panels.at(static_cast<size_t>(panel))->text();
}

void StatusPanels::SetText(int panel, const QString& text) {
    m_panels.at(static_cast<size_t>(panel))->setText(text);
    Arrange();
}

void StatusPanels::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void StatusPanels::Arrange() {
    // Each panel has its designed width, or more when the font needs it for the text; the last
    // one reaches the right edge.
    int x = 0;
    for (size_t i = 0; i < m_panels.size(); ++i) {
        QLabel* panel = m_panels[i];
        const bool last = i + 1 == m_panels.size();
        const int wanted = std::max(m_widths[i], panel->sizeHint().width());
        const int width = last ? std::max(m_widths[i], this->width() - x) : wanted;
        panel->setGeometry(x, 0, width, kHeight);
        x += width + 2;
    }
}

} // namespace vyp

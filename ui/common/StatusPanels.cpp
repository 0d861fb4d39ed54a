#include "ui/common/StatusPanels.h"

#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace vyp {

StatusPanels::StatusPanels(const std::vector<int>& widths, const QStringList& texts, QWidget* parent)
    : QWidget(parent), m_widths(widths) {
    setFixedHeight(kHeight);
    // The bar never holds its pane open: narrower than its panels, it cuts the last ones off.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (size_t i = 0; i < widths.size(); ++i) {
        auto* panel = new QLabel(i < static_cast<size_t>(texts.size()) ? texts[static_cast<qsizetype>(i)] : QString(), this);
        panel->setObjectName(QStringLiteral("panel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMargin(1);
        const bool last = i + 1 == widths.size();
        if (last) {
            panel->setMinimumWidth(widths[i]);
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        } else {
            panel->setFixedWidth(std::max(widths[i], panel->sizeHint().width()));
        }
        layout->addWidget(panel, last ? 1 : 0);
        m_panels.push_back(panel);
    }
}

QString StatusPanels::Text(int panel) const { return m_panels.at(static_cast<size_t>(panel))->text(); }

void StatusPanels::SetText(int panel, const QString& text) {
    QLabel* label = m_panels.at(static_cast<size_t>(panel));
    label->setText(text);
    // A panel keeps its designed width unless the font needs more room for the text.
    const size_t index = static_cast<size_t>(panel);
    if (index + 1 < m_panels.size())
        label->setFixedWidth(std::max(m_widths[index], label->sizeHint().width()));
}

} // namespace vyp

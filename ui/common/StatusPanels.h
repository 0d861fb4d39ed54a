// A status bar made of panels of fixed widths, the last one reaching the bar's right edge.
#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;

namespace vyp {

class StatusPanels : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 19;

    // One panel per width, each showing its initial text.
    StatusPanels(const std::vector<int>& widths, const QStringList& texts,
                 QWidget* parent = nullptr);

    QString Text(int panel) const;
    void SetText(int panel, const QString& text);
    int Count() const { return static_cast<int>(m_panels.size()); }
    QSize minimumSizeHint() const override { return QSize(0, kHeight); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();

    std::vector<int> m_widths;
    std::vector<QLabel*> m_panels;
};

} // namespace vyp

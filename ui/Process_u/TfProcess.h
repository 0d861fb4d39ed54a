// The progress window shown while the list tree is built: borderless, always on top, centred,
// two bold lines, the sawing worker and a progress bar. Wherever it shows the button-face
// colour it is see-through, and clicks there reach the window behind. It has no behaviour of
// its own: the tree build shows it, moves the bar and hides it.
#pragma once

#include <QWidget>

class QLabel;
class QMovie;
class QProgressBar;
class QFrame;

namespace vyp {

class TfProcess : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 303;
    static constexpr int kHeight = 154;

    explicit TfProcess(QWidget* parent = nullptr);

    QProgressBar* ProgressBarFile() const { return m_progressBar; }
    QMovie* Animation() const { return m_movie; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Lets clicks and the desktop through wherever the window shows its face colour.
    void UpdateMask();

    QFrame* m_panel;
    QLabel* m_picture;
    QMovie* m_movie;
    QProgressBar* m_progressBar;
    bool m_placed = false;
};

} // namespace vyp

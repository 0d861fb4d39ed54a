// The answers a test gives a dialog seam in advance, so that no dialog is ever shown and nothing
// blocks: each request is recorded and answered with the next queued path, or cancelled when the
// answer queued is a cancel or none is queued.
#pragma once

#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace vyp {

template <typename Request> class ScriptedAnswers {
public:
    void Start() {
        m_active = true;
        m_answers.clear();
        m_asked.clear();
    }
    bool Active() const { return m_active; }
    void QueueChoice(const QString& path) { m_answers.push_back(path); }
    void QueueCancel() { m_answers.push_back(std::nullopt); }
    const std::vector<Request>& Asked() const { return m_asked; }

    std::optional<QString> Answer(const Request& request) {
        m_asked.push_back(request);
        if (m_answers.empty())
            return std::nullopt;
        const std::optional<QString> answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

private:
    bool m_active = false;
    std::deque<std::optional<QString>> m_answers;
    std::vector<Request> m_asked;
};

} // namespace vyp

#pragma once
// A Prompter that records every request and answers from queues: used by the
// tests and, with no answers queued, by headless runs.
#include "platform/prompter.h"

#include <QList>
#include <deque>

struct PromptRecord {
    enum Kind { Message, Input, Color, SaveFile, BeepSound } kind = Message;
    QString text; // message text or input prompt
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QString defaultAnswer;
};

class ScriptedPrompter : public Prompter {
public:
    // Answers are used in order; a message with no queued answer gets OK
    // (Cancel for Yes/No/Cancel boxes, No for Yes/No), an input box gets nullopt.
    void QueueMsgAnswer(int answer) { msgAnswers.push_back(answer); }
    void QueueInput(std::optional<QString> answer) { inputAnswers.push_back(std::move(answer)); }
    void QueueColor(std::optional<QColor> c) { colorAnswers.push_back(std::move(c)); }
    void QueueSaveFile(std::optional<QString> p) { saveAnswers.push_back(std::move(p)); }

    int MsgBox(const QString &text, const QString &title, Buttons buttons, Icon icon) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                    const QString &defaultAnswer) override;
    std::optional<QColor> ChooseColor(const QColor &initial) override;
    std::optional<QString> SaveFileName(const QString &title, const QString &suggested,
                                        const QString &filter) override;
    // Answered from the same queue as SaveFileName.
    std::optional<QString> OpenFileName(const QString &title, const QString &folder,
                                        const QString &filter) override;
    void Beep() override;

    QList<PromptRecord> records;
    int beeps = 0;
    // Convenience for tests: the messages shown so far (kind Message only).
    QList<PromptRecord> messages() const;
    void clear()
    {
        records.clear();
        beeps = 0;
    }

private:
    std::deque<int> msgAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QString>> saveAnswers;
};

#include "platform/scriptedprompter.h"

namespace {
template <typename T> T TakeFront(std::deque<T> &queue)
{
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}
} // namespace

int ScriptedPrompter::MsgBox(const QString &text, const QString &title, Buttons buttons, Icon icon)
{
    records.append({PromptRecord::Message, text, title, buttons, icon, {}});
    if (!msgAnswers.empty()) {
        int a = msgAnswers.front();
        msgAnswers.pop_front();
        return a;
    }
    return SafeAnswer(buttons);
}

std::optional<QString> ScriptedPrompter::InputBox(const QString &prompt, const QString &title,
                                                  const QString &defaultAnswer)
{
    records.append(
        {PromptRecord::Input, prompt, title, Buttons::OkCancel, Icon::None, defaultAnswer});
    if (inputAnswers.empty()) return std::nullopt;
    return TakeFront(inputAnswers);
}

std::optional<QColor> ScriptedPrompter::ChooseColor(const QColor &initial)
{
    records.append(
        {PromptRecord::Color, initial.name(), QString(), Buttons::OkCancel, Icon::None, {}});
    if (colorAnswers.empty()) return std::nullopt;
    return TakeFront(colorAnswers);
}

std::optional<QString> ScriptedPrompter::SaveFileName(const QString &title,
                                                      const QString &suggested,
                                                      const QString &filter)
{
    records.append(
        {PromptRecord::SaveFile, filter, title, Buttons::OkCancel, Icon::None, suggested});
    if (saveAnswers.empty()) return std::nullopt;
    return TakeFront(saveAnswers);
}

std::optional<QString> ScriptedPrompter::OpenFileName(const QString &title, const QString &folder,
                                                      const QString &filter)
{
    records.append({PromptRecord::SaveFile, filter, title, Buttons::OkCancel, Icon::None, folder});
    if (saveAnswers.empty()) return std::nullopt;
    return TakeFront(saveAnswers);
}

void ScriptedPrompter::Beep()
{
    ++beeps;
    records.append({PromptRecord::BeepSound, {}, {}, Buttons::Ok, Icon::None, {}});
}

QList<PromptRecord> ScriptedPrompter::messages() const
{
    QList<PromptRecord> out;
    for (const auto &r : records)
        if (r.kind == PromptRecord::Message) out.append(r);
    return out;
}

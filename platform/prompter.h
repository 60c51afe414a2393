#pragma once
// Every message box, input box, colour or file choice and beep of the program
// goes through a Prompter, so that tests can answer them from a script.
#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace Answer {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace Answer

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

// The answer of a box nobody is there to answer: the one that changes nothing.
constexpr int SafeAnswer(Buttons b)
{
    switch (b) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    }
    return Answer::Ok;
}
enum class Icon { None, Exclamation, Information, Critical };

class Prompter {
public:
    virtual ~Prompter() = default;
    // Lines of `text` are separated by carriage returns, as the messages are written.
    virtual int MsgBox(const QString &text, const QString &title, Buttons buttons = Buttons::Ok,
                       Icon icon = Icon::None) = 0;
    // nullopt when the box is cancelled.
    virtual std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                            const QString &defaultAnswer = QString()) = 0;
    virtual std::optional<QColor> ChooseColor(const QColor &initial) = 0;
    // A path to write to, e.g. the PDF a page goes to when no printer is installed.
    virtual std::optional<QString> SaveFileName(const QString &title, const QString &suggested,
                                                const QString &filter) = 0;
    // An existing file to read; nothing when the choice is cancelled.
    virtual std::optional<QString> OpenFileName(const QString &title, const QString &folder,
                                                const QString &filter)
    {
        (void)title, (void)folder, (void)filter;
        return std::nullopt;
    }
    virtual void Beep() = 0;
    // The window that owns the next box; forms set it before they ask.
    virtual void SetOwner(QWidget *) {}
};

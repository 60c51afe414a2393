#include "platform/qtprompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
// Message texts separate their lines with carriage returns.
QString displayText(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}
} // namespace

QWidget *QtPrompter::parentWindow() const
{
    if (owner) return owner;
    return QApplication::activeWindow();
}

int QtPrompter::MsgBox(const QString &text, const QString &title, Buttons buttons, Icon icon)
{
    QMessageBox box(parentWindow());
    box.setWindowTitle(title);
    box.setText(displayText(text));
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtPrompter::InputBox(const QString &prompt, const QString &title,
                                            const QString &defaultAnswer)
{
    bool ok = false;
    QString s = QInputDialog::getText(parentWindow(), title, displayText(prompt), QLineEdit::Normal,
                                      defaultAnswer, &ok);
    if (!ok) return std::nullopt;
    return s;
}

std::optional<QColor> QtPrompter::ChooseColor(const QColor &initial)
{
    QColor c = QColorDialog::getColor(initial, parentWindow());
    if (!c.isValid()) return std::nullopt;
    return c;
}

std::optional<QString> QtPrompter::SaveFileName(const QString &title, const QString &suggested,
                                                const QString &filter)
{
    QString f = QFileDialog::getSaveFileName(parentWindow(), title, suggested, filter);
    if (f.isEmpty()) return std::nullopt;
    return f;
}

std::optional<QString> QtPrompter::OpenFileName(const QString &title, const QString &folder,
                                                const QString &filter)
{
    QString f = QFileDialog::getOpenFileName(parentWindow(), title, folder, filter);
    if (f.isEmpty()) return std::nullopt;
    return f;
}

void QtPrompter::Beep() { QApplication::beep(); }

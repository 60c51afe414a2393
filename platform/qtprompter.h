#pragma once
#include "platform/prompter.h"

#include <QPointer>
#include <QWidget>

// The desktop's own boxes, owned by the window that asks.
class QtPrompter : public Prompter {
public:
    int MsgBox(const QString &text, const QString &title, Buttons buttons, Icon icon) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                    const QString &defaultAnswer) override;
    std::optional<QColor> ChooseColor(const QColor &initial) override;
    std::optional<QString> SaveFileName(const QString &title, const QString &suggested,
                                        const QString &filter) override;
    std::optional<QString> OpenFileName(const QString &title, const QString &folder,
                                        const QString &filter) override;
    void Beep() override;
    void SetOwner(QWidget *w) override { owner = w; }

private:
    QWidget *parentWindow() const;
    QPointer<QWidget> owner;
};

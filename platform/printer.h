#pragma once
// The default printer. With no printer installed the user is asked where to
// save the page as a PDF instead; the page is the same either way.
#include "platform/pagejob.h"
#include "platform/prompter.h"

// Null when the user declines to name a PDF or it cannot be created (the
// reason has then been shown).
std::unique_ptr<PageJob> BeginPrint(Prompter &prompter, const QString &title,
                                    const QString &suggestedPdf);
// True when a printer is installed.
bool HavePrinter();

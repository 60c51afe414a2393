#pragma once
// The program's fonts. The forms and the report are laid out at fixed twip
// positions made for a narrow 8-point face, so a condensed face is used.
#include <QFont>

// DejaVu Sans Condensed at `points`; where it is not installed, DejaVu Sans
// made smaller by the width ratio of the two, so texts keep their room.
QFont NarrowFont(double points);
// The font of the forms (captions, fields, buttons).
QFont FormFont();
// `f` for text that lands on paper or in a PDF: drawn without ligatures, so
// that a reader can search and copy the words ("Rifle", not "Ri\ufb02e").
QFont PageFont(QFont f);

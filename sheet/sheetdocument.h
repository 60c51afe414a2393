#pragma once
// The open target sheet: the sheet, the card it is drawn on, the file it was
// saved to and its figures. Every edit is a step on one undo stack, and the
// rules of the edits live here, so the window only forwards what the user
// did and draws again when the document says it changed.
#include "sheet/targetsheet.h"

#include <QImage>
#include <QObject>
#include <QUndoStack>

// The settings fields as typed; a blank field is nothing.
struct SheetSettings {
    QString Unit, Dpi, Scale, Bullet, Range, Shots, Shooter, Firearm, Date;
};

class SheetDocument : public QObject {
    Q_OBJECT
public:
    explicit SheetDocument(QObject *parent = nullptr);

    const TargetSheet &Sheet() const { return sheet; }
    const SheetFigures &Figures() const { return figures; }
    const QImage &Card() const { return card; }
    // Empty until saved or opened.
    const QString &Path() const { return path; }
    // The file's name, else the scan's, else "Sheet".
    QString Name() const;
    // Changed since saved or opened: the undo stack is not at its clean step.
    bool Modified() const { return !stack.isClean(); }
    QUndoStack &Stack() { return stack; }

    // A scan in place of the sheet, with the settings of the one before and
    // the scale from the scan's resolution, else `typedDpi`; a new sheet is
    // modified until saved, and cannot be undone.
    enum class ScaleFrom { None, File, Typed };
    ScaleFrom Import(const QString &imagePath, const QImage &image, std::optional<double> typedDpi);
    // A sheet file in place of this one; false with the reason and nothing
    // changed when it cannot be read. `cardProblem` says why its scan
    // cannot be shown (a blank card stands in).
    bool Open(const QString &file, QString *why, QString *cardProblem);
    bool Save(const QString &file, QString *why);

    // The edits. Each is one undoable step; one that changes nothing or
    // names what is not there is no step. Those that can be refused say why.
    bool ApplySettings(const SheetSettings &typed, QString *why,
                       std::optional<double> *typedDpi = nullptr);
    bool ScaleFromPoints(QPointF a, QPointF b, double length, QString *why);
    void SetShotsPerGroup(int shots);
    int AddShot(QPointF at); // the new shot's index, in the group aimed there
    int AddMark(QPointF at);
    void MoveShot(int shot, QPointF at);
    void MoveMark(int mark, QPointF at);
    void SetAccepted(int shot, bool accepted);
    void DeleteShot(int shot);
    void DeleteMark(int mark);
    void SetShotGroup(int shot, int group);
    void AssignAgain();
    void SetLabel(int group, const QString &label);
    // A sheet worked on elsewhere (marks or holes found) in place of this one.
    void Replace(const TargetSheet &worked, const QString &what);
    // The sheet moved onto a straightened picture of its card.
    void Straighten(const TargetSheet &moved, const QImage &picture);

signals:
    // The sheet, and so its figures, changed.
    void Changed();
    // The card picture changed (imported, opened, straightened or undone).
    void CardChanged();
    void PathChanged();
    void ModifiedChanged(bool modified);

private:
    friend class SheetStep;
    void Edit(const QString &what, TargetSheet after);
    void Put(const TargetSheet &s, const QImage *picture);
    void Start(TargetSheet s, const QImage &picture, const QString &file, bool saved);

    TargetSheet sheet;
    SheetFigures figures;
    QImage card;
    QString path;
    QUndoStack stack;
};

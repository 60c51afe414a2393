// render: a statistics file saved from graphical entry, drawn as the window
// draws it, into a PNG.
#include "cli/cli.h"
#include "graph/targetdrawing.h"

#include <QImageWriter>
#include <QSaveFile>

int CmdRender(const QStringList &args, CliContext &ctx)
{
    if (args.size() != 3 || args[1] != QLatin1String("--png")) return CliExit::Usage;
    Session s;
    PrepareSession(s);
    if (!CliOpenStats(s, ctx, args[0])) return CliExit::Refused;
    if (s.ImagePath.isEmpty()) {
        ctx.prompter.MsgBox(QStringLiteral("The statistics file names no target image."),
                            QStringLiteral("Target Image"), Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    // The picture is the image itself: there is no screen to size it from.
    GraphPicture picture;
    picture.canvas.SetPictureSize(QSize(1, 1));
    if (!LoadPictureFromSession(s, picture, ctx.prompter)) return CliExit::Refused;
    QSaveFile out(args[2]);
    QImageWriter writer(&out, "png");
    if (!out.open(QIODevice::WriteOnly) || !writer.write(picture.canvas.Image()) || !out.commit()) {
        ctx.prompter.MsgBox(QStringLiteral("The picture could not be written to ") + args[2] +
                                QStringLiteral(": ") +
                                (writer.error() != QImageWriter::UnknownError ? writer.errorString()
                                                                              : out.errorString()),
                            QStringLiteral("Render"), Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    return CliExit::Ok;
}

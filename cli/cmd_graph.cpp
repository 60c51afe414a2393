// render: a statistics file saved from graphical entry, drawn as the window
// draws it, into a PNG.
#include "cli/cli.h"
#include "graph/targetdrawing.h"
#include "platform/wholefile.h"

#include <QBuffer>
#include <QImageWriter>

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
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QImageWriter writer(&png, "png");
    if (!writer.write(picture.canvas.Image())) {
        ctx.prompter.MsgBox(WriteFailedText(args[2], writer.errorString()),
                            QStringLiteral("Render"), Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    return WriteWholeFileOrTell(args[2], png.data(), ctx.prompter, QStringLiteral("Render"))
               ? CliExit::Ok
               : CliExit::Refused;
}

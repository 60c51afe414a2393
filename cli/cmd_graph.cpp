// render: a statistics file saved from graphical entry, drawn as the window
// draws it, into a PNG.
#include "cli/args.h"
#include "graph/targetdrawing.h"
#include "platform/wholefile.h"

#include <QBuffer>
#include <QImageWriter>

int CmdRender(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    if (!a.Parse(args, {{"--png", CliOption::Once}}) || !a.Expect({"FILE.pxs"}) ||
        !a.Require({"--png"}))
        return ctx.Usage(a.Error);
    const QString png = a.Value("--png");
    Session s;
    PrepareSession(s);
    if (!CliOpenStats(s, ctx, a.Positional[0])) return CliExit::Refused;
    if (s.ImagePath.isEmpty()) {
        ctx.prompter.MsgBox(QStringLiteral("The statistics file names no target image."),
                            QStringLiteral("Target Image"), Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    // The picture is the image itself: there is no screen to size it from.
    GraphPicture picture;
    picture.canvas.SetPictureSize(QSize(1, 1));
    if (!LoadPictureFromSession(s, picture, ctx.prompter)) return CliExit::Refused;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture.canvas.Image())) {
        ctx.prompter.MsgBox(WriteFailedText(png, writer.errorString()), QStringLiteral("Render"),
                            Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    return WriteWholeFileOrTell(png, buffer.data(), ctx.prompter, QStringLiteral("Render"))
               ? CliExit::Ok
               : CliExit::Refused;
}

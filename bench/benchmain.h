#pragma once
// Benchmarks measure what the user waits for: the program's work runs after
// a QGuiApplication exists and a QImage has been painted, as it does in the
// windows and in peltrix-cli (both change the processor's vector state).
// Benchmarks of widgets run in a QApplication: RunBenchmarksInApp<QApplication>.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

template <class App = QGuiApplication> int RunBenchmarksInApp(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    QImage image(640, 480, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRect(10, 10, 300, 200), QColor(20, 120, 200, 128));
        p.drawEllipse(QPointF(320, 240), 100, 80);
        p.drawText(QPointF(20, 460), QStringLiteral("Peltrix"));
    }
    benchmark::DoNotOptimize(image.constBits());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The main window: its menus and the commands that could drop a group.
#include "app/frmmain.h"
#include "testsupport.h"

#include <QtTest>

namespace {
bool asked(const ScriptedPrompter &p)
{
    for (const auto &m : p.messages())
        if (m.title == QStringLiteral("File Not Saved")) return true;
    return false;
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void clearData_data();
    void clearData();
};

void TestMainWindow::clearData_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("shotsAfter");
    // Yes whose save does not happen keeps the group.
    QTest::newRow("yes, not saved") << int(Answer::Yes) << 2;
    QTest::newRow("no") << int(Answer::No) << 0;
    QTest::newRow("cancel") << int(Answer::Cancel) << 2;
}

void TestMainWindow::clearData()
{
    QFETCH(int, answer);
    QFETCH(int, shotsAfter);
    TestApp t;
    // A save that cannot succeed: the folder is a plain file.
    QFile blocker(t.dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    t.session.StatsFilePath = t.dir.filePath(QStringLiteral("blocker/group.pxs"));
    AddShots(t.session, {{1, 1}, {2, 3}});
    t.session.StatsSaved = false;
    t.prompter.QueueMsgAnswer(answer);
    t.app->Main()->mnuClearDatItem_Click();
    QVERIFY(asked(t.prompter));
    QCOMPARE(t.session.ShotCount, shotsAfter);
    if (shotsAfter == 0) {
        QCOMPARE(t.session.GroupSize, 0.0f);
        QVERIFY(t.session.StatsSaved);
    } else {
        QVERIFY(!t.session.StatsSaved);
        QCOMPARE(t.session.ShotX[2], 2.0f);
    }
}

QTEST_MAIN(TestMainWindow)
#include "test_frmmain.moc"

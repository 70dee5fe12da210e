#include "registration/KvCompEditors.h"
#include "registration/KvVtAbout.h"

#include "KvApplication.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The application's first verb shows the About box: a missing packages folder in red, and a
// link clicked with the mouse goes to the desktop's opener, not to a browser.
TEST(KvVtAbout, ApplicationVerbShowsTheBoxWithFoldersAndLinks)
{
    QTemporaryDir Dir;
    const QString Missing = Dir.filePath(QStringLiteral("gone"));
    qputenv("KV_INSTALL_PACKAGES", Missing.toLocal8Bit());
    QList<QUrl> Opened;
    const auto OldOpen = KvShellOpen;
    KvShellOpen = [&Opened](const QUrl& Url) { Opened << Url; };

    TKvCApplication App;
    TKvCApplicationComponentEditor Editor(&App, nullptr);
    ASSERT_TRUE(Editor.VerbUnavailable(0).isEmpty());
    QString Packages, Library;
    bool Kept = false;
    QTimer::singleShot(0, [&] {
        auto* Window = qobject_cast<TFrAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(Window, nullptr);
        Kept = FrAbout == Window;
        Packages = Window->findChild<QLabel*>(QStringLiteral("LaPackages"))->text();
        Library = Window->findChild<QLabel*>(QStringLiteral("LaLibrary"))->text();
        QLabel* Web = Window->findChild<QLabel*>(QStringLiteral("LaWeb"));
        const int LinkStart = Web->fontMetrics().horizontalAdvance(QStringLiteral("Web: "));
        QTest::mouseClick(Web, Qt::LeftButton, {}, QPoint(LinkStart + 10, Web->height() / 2));
        QTest::mouseClick(Window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    Editor.ExecuteVerb(0);
    KvShellOpen = OldOpen;
    qunsetenv("KV_INSTALL_PACKAGES");

    EXPECT_TRUE(Kept);
    EXPECT_EQ(FrAbout, nullptr);
    EXPECT_TRUE(Packages.contains(QStringLiteral("(not exist)")) && Packages.contains(QStringLiteral("color:red")))
        << Packages.toStdString();
    EXPECT_FALSE(Library.contains(QStringLiteral("(not exist)"))) << Library.toStdString();
    ASSERT_EQ(Opened.size(), 1);
    EXPECT_EQ(Opened.first().scheme(), QStringLiteral("https"));
}

} // namespace

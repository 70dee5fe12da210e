#include "setup/KvVtDataBase.h"
#include "setup/KvVtKeys.h"
#include "setup/KvVtLanguage.h"
#include "setup/KvVtLocale.h"
#include "setup/KvVtSetup.h"

#include "registration/KvCompEditors.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvShortCuts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

template <class T>
T* Ctl(QWidget* Window, const char* Name)
{
    T* Control = Window->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
}

// Runs Action on the next modal window once it is shown (the one open now does not count).
void OnModal(std::function<void(QWidget*)> Action, QWidget* Before = QApplication::activeModalWidget())
{
    QTimer::singleShot(0, [Action, Before = QPointer<QWidget>(Before)] {
        QWidget* Window = QApplication::activeModalWidget();
        if (!Window || Window == Before) {
            OnModal(Action, Before);
            return;
        }
        Window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Window));
        Action(Window);
    });
}

// Brings the tab holding Control to the front, as a click on its tab does.
void ShowTabOf(QWidget* Control)
{
    for (QWidget* W = Control; W; W = W->parentWidget())
        if (auto* Tabs = qobject_cast<QTabWidget*>(W->parentWidget() ? W->parentWidget()->parentWidget() : nullptr)) {
            const int Index = Tabs->indexOf(W);
            if (Index >= 0) {
                QTest::mouseClick(Tabs->tabBar(), Qt::LeftButton, {}, Tabs->tabBar()->tabRect(Index).center());
                EXPECT_EQ(Tabs->currentIndex(), Index);
                // The page lays its controls out before they take clicks.
                QCoreApplication::processEvents();
                return;
            }
        }
}

// Near the left edge, where a check box has its mark.
void Click(QWidget* Window, const char* Name)
{
    QWidget* Control = Ctl<QWidget>(Window, Name);
    QTest::mouseClick(Control, Qt::LeftButton, {}, QPoint(std::min(8, Control->width() / 2), Control->height() / 2));
}

void Clear(QLineEdit* Box)
{
    // The offscreen platform does not give the activation back when a nested dialog closes.
    QApplication::setActiveWindow(Box->window());
    ShowTabOf(Box);
    QTest::mouseClick(Box, Qt::LeftButton, {}, Box->rect().center());
    QTest::keyClick(Box, Qt::Key_End);
    while (!Box->text().isEmpty() && Box->hasFocus())
        QTest::keyClick(Box, Qt::Key_Backspace);
    EXPECT_TRUE(Box->hasFocus()) << Box->objectName().toStdString();
}

// Clicks into a box, empties it and types Text.
void Retype(QWidget* Window, const char* Name, const QString& Text)
{
    auto* Box = Ctl<QLineEdit>(Window, Name);
    Clear(Box);
    QTest::keyClicks(Box, Text);
}

// Counts what the dialogs tell the designer.
struct TDesignerSpy
{
    TDesignerSpy() { KvDsgnModified = [this](TPersistent*) { ++Told; }; }
    ~TDesignerSpy() { KvDsgnModified = nullptr; }
    int Told = 0;
};

} // namespace

TEST(KvVtLocale, SettingsEditedWithMouseAndKeys)
{
    TKvMessageRecorder Messages;
    TKvPkgLanguage Pkg;
    Pkg.SetAutoLoad(false);
    TFrLocale Dialog;
    Dialog.PkgLanguage = &Pkg;
    OnModal([&](QWidget* W) {
        // Leaving an emptied separator box stores a blank.
        Retype(W, "EdDateSeparator", QString());
        QTest::keyClick(W->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(Pkg.Locale().DateSeparator, QChar(u' '));

        // The century takes digits only, and the range follows the typing.
        Retype(W, "EdDateCentury", QStringLiteral("20x50"));
        EXPECT_EQ(Messages.Count(), 1) << "the emptied box is no year";
        EXPECT_EQ(Ctl<QLabel>(W, "Label18")->text(), QStringLiteral("1951 and 2050"));
        EXPECT_EQ(Pkg.Locale().DateCentury, 1950);
        QTest::keyClick(W->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(Pkg.Locale().DateCentury, 2050);

        auto* Week = Ctl<QComboBox>(W, "CBStartOfWeek");
        Week->setFocus();
        QTest::keyClick(Week, Qt::Key_Down);
        EXPECT_EQ(Pkg.Locale().StartOfWeek, 1);

        // The names dialog replaces the list with what comes back.
        OnModal([](QWidget* Names) {
            EXPECT_EQ(Names->windowTitle(), QStringLiteral("MonthShortNames"));
            auto* Memo = Ctl<QPlainTextEdit>(Names, "EdMemo");
            QTest::keyClick(Memo, Qt::Key_Home, Qt::ControlModifier);
            QTest::keyClicks(Memo, QStringLiteral("X"));
            Click(Names, "BtOk");
        });
        Click(W, "SBMonthShortNames");
        EXPECT_EQ(Pkg.Locale().MonthShortNames.first(), QStringLiteral("XJan"));

        // AutoLoad on shows the system's settings without letting them be changed.
        Click(W, "CBAutoLoad");
        EXPECT_TRUE(Pkg.Locale().AutoLoad);
        EXPECT_FALSE(Ctl<QWidget>(W, "EdDateCentury")->isEnabled());
        EXPECT_FALSE(Ctl<QWidget>(W, "EdNumericCurrencyFormat")->isEnabled());
        EXPECT_FALSE(Ctl<QWidget>(W, "BtRestoreDefaults")->isEnabled());
        EXPECT_TRUE(Ctl<QWidget>(W, "SBDayLongNames")->isEnabled());
        EXPECT_EQ(Ctl<QLineEdit>(W, "EdTimeAMString")->text(), TKvPkgLanguageLocale::System().TimeAMString);
        Click(W, "CBAutoLoad");
        EXPECT_TRUE(Ctl<QWidget>(W, "EdDateCentury")->isEnabled());
        EXPECT_TRUE(Ctl<QWidget>(W, "BtRestoreDefaults")->isEnabled());

        // A box being edited is stored when Escape closes the window.
        Retype(W, "EdNumericCurrencyString", QStringLiteral("EUR"));
        QTest::keyClick(W->focusWidget(), Qt::Key_Escape);
    });
    Dialog.Execute();
    EXPECT_EQ(Pkg.Locale().NumericCurrencyString, QStringLiteral("EUR"));
    EXPECT_FALSE(Pkg.Locale().AutoLoad);
}

TEST(KvVtLanguage, FilePackageIsWrittenOnCloseAndClearAllAsks)
{
    QTemporaryDir Dir;
    KvSetAppPath(Dir.path());
    TDesignerSpy Designer;
    TKvCApplication App;
    TKvPkgLanguage* Pkg = App.PkgLanguage();
    Pkg->PkgUser()->Texts()->Add(1, QStringLiteral("Hola"));
    Pkg->SetDescription(QStringLiteral("Spanish"));
    Pkg->SaveFileEx(QStringLiteral("Es"), TKvPkgInfo::imFILE);
    const QString Path = QDir(Dir.path()).filePath(QStringLiteral("Es.lan"));

    TFrLanguage Window;
    Window.CApp = &App;
    OnModal([&](QWidget* W) {
        EXPECT_EQ(Ctl<QLabel>(W, "Label4")->text(), QStringLiteral("Spanish"));
        EXPECT_EQ(Ctl<QLabel>(W, "Label6")->text(), QStringLiteral("FILE"));

        TKvMessageRecorder Messages({KvBtnCancel});
        Click(W, "BtClear");
        EXPECT_EQ(Messages.Count(), 1);
        EXPECT_EQ(Messages.Last().Text, KvSystemMessageText(48));
        EXPECT_EQ(Pkg->PkgUser()->Texts()->Count(), 1);

        OnModal([](QWidget* Locale) {
            Click(Locale, "CBAutoLoad"); // off
            Retype(Locale, "EdTimeAMString", QStringLiteral("a.m."));
            Click(Locale, "BtOk");
        });
        Click(W, "BtLocale");
        EXPECT_EQ(Pkg->Locale().TimeAMString, QStringLiteral("a.m."));
        TKvPkgLanguage OnDisk;
        OnDisk.LoadFromFile(Path);
        EXPECT_NE(OnDisk.Locale().TimeAMString, QStringLiteral("a.m.")) << "written before the window closed";
        QTest::keyClick(W, Qt::Key_Escape);
    });
    Window.Execute();
    EXPECT_EQ(Designer.Told, 0);
    TKvPkgLanguage OnDisk;
    OnDisk.LoadFromFile(Path);
    EXPECT_EQ(OnDisk.Locale().TimeAMString, QStringLiteral("a.m."));

    // Kept in the form, a cleared language tells the designer.
    TKvCApplication InForm;
    InForm.PkgLanguage()->PkgSystem()->Texts()->Add(3, QStringLiteral("Uno"));
    TFrLanguage Second;
    Second.CApp = &InForm;
    OnModal([](QWidget* W) {
        TKvMessageRecorder Messages({KvBtnAccept});
        Click(W, "BtClear");
        Click(W, "BtOk");
    });
    Second.Execute();
    EXPECT_EQ(InForm.PkgLanguage()->PkgSystem()->Texts()->Count(), 0);
    EXPECT_EQ(Designer.Told, 1);
    KvSetAppPath(QString());
}

TEST(KvVtKeys, ShortcutsAreStoredAsTheyAreTyped)
{
    TKvPkgSetup Pkg;
    TFrKeys Dialog;
    Dialog.PkgSetup = &Pkg;
    OnModal([&](QWidget* W) {
        auto* Insert = Ctl<QComboBox>(W, "CBInsert");
        EXPECT_EQ(Insert->count(), 87);
        EXPECT_EQ(Insert->currentText(), ShortCutToText(KvDefaultSetupKeys().ShortCuts[skInsertRecord]));
        Clear(Insert->lineEdit());
        QTest::keyClicks(Insert->lineEdit(), QStringLiteral("Ctrl+Q"));
        EXPECT_EQ(Pkg.ShortCut(skInsertRecord), TextToShortCut(QStringLiteral("Ctrl+Q")));

        // Picked from the drop-down.
        auto* Custom = Ctl<QComboBox>(W, "CBBtnCustom2");
        Custom->showPopup();
        QAbstractItemView* List = Custom->view();
        const QModelIndex Pick = List->model()->index(82, 0);
        List->scrollTo(Pick);
        QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->visualRect(Pick).center());
        EXPECT_EQ(ShortCutToText(Pkg.ShortCut(skBtnCustom2)), QStringLiteral("Ctrl+Enter"));

        Click(W, "CBActionEnter");
        EXPECT_FALSE(Pkg.Keys().ActionEnter);
        auto* Delete = Ctl<QComboBox>(W, "CBDeleteType");
        Delete->setFocus();
        QTest::keyClick(Delete, Qt::Key_Down);
        EXPECT_EQ(Pkg.Keys().DeleteType, 2);
        W->close(); // the window button keeps what was stored
    });
    Dialog.Execute();
    EXPECT_EQ(ShortCutToText(Pkg.ShortCut(skInsertRecord)), QStringLiteral("Ctrl+Q"));
    EXPECT_EQ(Pkg.Keys().DeleteType, 2);
}

TEST(KvVtDataBase, EnginesLockTheFormatsAndOkWritesThem)
{
    TKvPkgSetup Pkg;
    TFrDataBase Dialog;
    Dialog.PkgSetup = &Pkg;
    OnModal([&](QWidget* W) {
        auto* Engine = Ctl<QComboBox>(W, "CBDataBaseEngine");
        Retype(W, "EdDateSeparator", QStringLiteral("-"));
        Engine->setFocus();
        QTest::keyClick(Engine, Qt::Key_Down);
        QTest::keyClick(Engine, Qt::Key_Down);
        EXPECT_EQ(Engine->currentText(), QStringLiteral("deStandard"));
        EXPECT_EQ(Ctl<QLineEdit>(W, "EdDateSeparator")->text(), QStringLiteral("/"));
        EXPECT_FALSE(Ctl<QWidget>(W, "EdDateSeparator")->isEnabled());
        EXPECT_FALSE(Ctl<QWidget>(W, "CBSQLSyntax")->isEnabled());
        QTest::keyClick(Engine, Qt::Key_Home);
        EXPECT_TRUE(Ctl<QWidget>(W, "EdNumericDecimalSeparator")->isEnabled());
        EXPECT_EQ(Ctl<QLineEdit>(W, "EdDateSeparator")->text(), QStringLiteral("/"));
        EXPECT_EQ(Pkg.DataBase(), TKvPkgSetupDataBase()) << "nothing is written before Ok";
        Retype(W, "EdNumericDecimalSeparator", QString());
        Click(W, "BtOk");
    });
    EXPECT_EQ(Dialog.Execute(), 1);
    EXPECT_EQ(Pkg.DataBase().NumericDecimalSeparator, QChar(0));
    EXPECT_EQ(Pkg.DataBase().DateSeparator, QChar(u'/'));
    EXPECT_FALSE(Pkg.DataBase().SQLSyntax);

    const TKvPkgSetupDataBase Before = Pkg.DataBase();
    TFrDataBase Again;
    Again.PkgSetup = &Pkg;
    OnModal([](QWidget* W) {
        Retype(W, "EdTimeSeparator", QStringLiteral("."));
        Click(W, "BtCancel");
    });
    EXPECT_EQ(Again.Execute(), 2);
    EXPECT_EQ(Pkg.DataBase(), Before);
}

// The application's double click opens the setup, the hub to its packages.
TEST(KvVtSetup, OpenedByTheApplicationEditorReachesKeysAndLanguage)
{
    TDesignerSpy Designer;
    TKvCApplication App;
    TKvCApplicationComponentEditor Editor(&App, nullptr);
    bool Shown = false;
    OnModal([&](QWidget* W) {
        Shown = qobject_cast<TFrSetup*>(W) != nullptr;
        EXPECT_EQ(Ctl<QLabel>(W, "Label6")->text(), QStringLiteral("DFM"));
        EXPECT_EQ(Ctl<QLabel>(W, "Label9")->text(), QStringLiteral("(DFM)"));

        OnModal([](QWidget* Keys) {
            auto* Box = Ctl<QComboBox>(Keys, "CBBtnCustom1");
            Clear(Box->lineEdit());
            QTest::keyClicks(Box->lineEdit(), QStringLiteral("Alt+BkSp"));
            Click(Keys, "BtOk");
        });
        Click(W, "BtKeys");
        EXPECT_EQ(Designer.Told, 1);

        OnModal([](QWidget* Language) {
            EXPECT_EQ(Language->windowTitle(), QStringLiteral("Language"));
            QTest::keyClick(Language, Qt::Key_Escape);
        });
        Click(W, "BtLanguage");

        // The display and variables editors open over it.
        for (const char* Button : {"BtDisplay", "BtVars"}) {
            QString Title;
            OnModal([&Title](QWidget* Editor) {
                Title = Editor->windowTitle();
                Editor->close();
            });
            Click(W, Button);
            EXPECT_FALSE(Title.isEmpty()) << Button;
        }
        QTest::keyClick(W, Qt::Key_Escape);
    });
    Editor.Edit();
    EXPECT_TRUE(Shown);
    EXPECT_EQ(ShortCutToText(App.PkgSetup()->ShortCut(skBtnCustom1)), QStringLiteral("Alt+BkSp"));
}

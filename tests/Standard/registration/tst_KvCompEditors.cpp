#include "registration/KvCompEditors.h"

#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvMenus.h"
#include "KvVtCalculator.h"
#include "KvVtCalendar.h"
#include "KvVtImageE.h"
#include "KvVtMemoE.h"
#include "KvVtRichEditE.h"
#include "KvVtScrollBars.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

struct AskedWindow
{
    QString Class;
    QString Caption;
    QPointer<QDialog> Window;
};

// Records the library's modal windows the verbs ask for, answering each with Cancel.
class ModalRecorder
{
public:
    ModalRecorder()
    {
        FPrevious = KvSetModalHandler([this](QDialog& Window) {
            FAsked.append({QString::fromLatin1(Window.metaObject()->className()), Window.windowTitle(), &Window});
            if (RaiseOn == FAsked.last().Class)
                throw Exception(QStringLiteral("Raised inside the window"));
            return int(QDialog::Rejected);
        });
    }
    ~ModalRecorder() { KvSetModalHandler(std::move(FPrevious)); }

    const QList<AskedWindow>& Asked() const { return FAsked; }
    QString RaiseOn;

private:
    QList<AskedWindow> FAsked;
    TKvModalHandler FPrevious;
};

void DeleteReleased()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(KvCApplicationEditor, ShowroomVerbsOpenTheRuntimeWindowsAndReleaseThem)
{
    TKvCApplication App;
    TKvCApplicationComponentEditor Editor(&App, nullptr);
    for (int Verb = 0; Verb < Editor.GetVerbCount(); ++Verb)
        EXPECT_TRUE(Editor.VerbUnavailable(Verb).isEmpty()) << Verb;

    ModalRecorder Recorder;
    for (int Verb : {3, 4, 7, 8, 9, 10})
        Editor.ExecuteVerb(Verb);
    const QList<std::pair<QString, QString>> Expected{
        {"TFrCalculator", "Calculator"},
        {"TFrCalendar", "Calendar"},
        {"TFrMemoE", "Memo Editor Example"},
        {"TFrImageE", "Image Editor Example"},
        {"TFrRichEditE", "Rich Editor Example"},
        {"TFrScrollBars", "ScrollBars Example"},
    };
    ASSERT_EQ(Recorder.Asked().size(), Expected.size());
    for (int I = 0; I < Expected.size(); ++I) {
        EXPECT_EQ(Recorder.Asked()[I].Class, Expected[I].first);
        EXPECT_EQ(Recorder.Asked()[I].Caption, Expected[I].second);
    }
    // The calculator and calendar live in their call; the sample editors are released.
    EXPECT_TRUE(Recorder.Asked()[0].Window.isNull());
    EXPECT_TRUE(Recorder.Asked()[1].Window.isNull());
    for (int I = 2; I < Expected.size(); ++I)
        EXPECT_FALSE(Recorder.Asked()[I].Window.isNull()) << "released, not destroyed at once";
    DeleteReleased();
    for (int I = 2; I < Expected.size(); ++I)
        EXPECT_TRUE(Recorder.Asked()[I].Window.isNull());

    // A window that raises is released too, and the error reaches the host.
    Recorder.RaiseOn = QStringLiteral("TFrRichEditE");
    EXPECT_THROW(Editor.ExecuteVerb(9), Exception);
    DeleteReleased();
    EXPECT_TRUE(Recorder.Asked().last().Window.isNull());
}

TEST(KvCApplicationEditor, SamplePopupMenuPopsUpAtTheMouseWithSystemImages)
{
    TKvCApplication App;
    KvBuildBaseDisplay(App.PkgDisplay());
    App.SetActive();
    TKvCApplicationComponentEditor Editor(&App, nullptr);
    QCursor::setPos(200, 150);
    Editor.ExecuteVerb(11);

    QPointer<TKvPopupMenu> Popup = KvSamplePopupMenu();
    ASSERT_TRUE(Popup);
    EXPECT_EQ(Popup->Owner(), nullptr);
    EXPECT_TRUE(Popup->ImagesVisible());
    EXPECT_EQ(Popup->ImagesSize(), 16);
    QStringList Shown; // caption and image id, "-" for a line
    for (int I = 0; I < Popup->Items()->Count(); ++I) {
        const TKvMenuItem* Item = Popup->Items()->Items(I);
        EXPECT_EQ(Item->Owner(), Popup.data());
        Shown << (Item->IsLine() ? QStringLiteral("-") : Item->Caption() + u' ' + QString::number(Item->MemoryImage()->Id()));
        EXPECT_EQ(Item->MemoryImage()->PkgName(), QStringLiteral("System"));
    }
    EXPECT_EQ(Shown, QStringList({"Item Example 48", "Item Example 49", "Item Example 50", "Item Example 51", "-",
                                  "Item Example 52", "-", "Item Example 53", "Item Example 54", "-",
                                  "Item Example 55", "Item Example 56", "Item Example 57"}));

    QMenu* Menu = Popup->Shown();
    ASSERT_TRUE(Menu);
    EXPECT_TRUE(Menu->isVisible());
    EXPECT_EQ(Menu->pos(), QCursor::pos());
    int Separators = 0, WithImages = 0;
    for (const QAction* Action : Menu->actions()) {
        Separators += Action->isSeparator();
        WithImages += !Action->icon().isNull();
        if (!Action->isSeparator()) {
            EXPECT_EQ(Action->text(), QStringLiteral("Item Example"));
        }
    }
    EXPECT_EQ(Menu->actions().size(), 13);
    EXPECT_EQ(Separators, 3);
    EXPECT_EQ(WithImages, 10);

    // The next sample replaces this one.
    Editor.ExecuteVerb(11);
    EXPECT_TRUE(Popup.isNull());
    EXPECT_TRUE(KvSamplePopupMenu());
    KvFreeSamplePopupMenu();
    EXPECT_EQ(KvSamplePopupMenu(), nullptr);
}

TEST(KvPopupMenuEditor, ViewPopupMenuShowsTheMenuAsItIsNow)
{
    TKvPopupMenu Popup;
    auto* Open = new TKvMenuItem(&Popup);
    Open->SetCaption(QStringLiteral("&Open"));
    Popup.Items()->Add(Open);
    TKvPopupMenuComponentEditor Editor(&Popup, nullptr);
    EXPECT_TRUE(Editor.VerbUnavailable(0).isEmpty());
    Editor.ExecuteVerb(0);
    ASSERT_TRUE(Popup.Shown());
    EXPECT_TRUE(Popup.Shown()->isVisible());
    ASSERT_EQ(Popup.Shown()->actions().size(), 1);

    // An item added since is there the next time.
    auto* Close = new TKvMenuItem(&Popup);
    Close->SetCaption(QStringLiteral("&Close"));
    Popup.Items()->Add(Close);
    Editor.ExecuteVerb(0);
    ASSERT_EQ(Popup.Shown()->actions().size(), 2);
    EXPECT_EQ(Popup.Shown()->actions().last()->text(), QStringLiteral("&Close"));
    Popup.Shown()->hide();
}

#include "manager/KvVtPkgActive.h"
#include "registration/KvCompEditors.h"

#include "Controls.h"
#include "KvApplication.h"
#include "KvForms.h"
#include "KvPkgImages.h"

#include <QListView>
#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QStringList Lines(TFrPkgActive& Window)
{
    auto* list = Window.findChild<QListView*>(QStringLiteral("ListBox1"));
    QStringList lines;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        lines << list->model()->index(i, 0).data().toString();
    return lines;
}

QListView* List(TFrPkgActive& Window) { return Window.findChild<QListView*>(QStringLiteral("ListBox1")); }

TKvPkgStrings* Strings(TComponent* Owner, const char* Name, const char* PkgName)
{
    auto* pkg = new TKvPkgStrings(Owner);
    pkg->SetName(QLatin1String(Name));
    pkg->SetPkgName(QLatin1String(PkgName));
    return pkg;
}

std::unique_ptr<TForm> Form(const char* Name)
{
    auto form = std::make_unique<TForm>();
    form->SetName(QLatin1String(Name));
    return form;
}

} // namespace

TEST(PkgActive, SameNamedPackagesOfTwoFormsBothListedInTheirOrderAndSorted)
{
    auto first = Form("FormA");
    auto second = Form("FormB");
    TKvPkgStrings* zeta = Strings(first.get(), "PkgZ", " Zeta ");
    TKvPkgStrings* mainA = Strings(first.get(), "Pkg1", "Main");
    TKvPkgStrings* mainB = Strings(second.get(), "Pkg2", "main");
    TKvPkgStrings loose; // owned by no form
    loose.SetName(QStringLiteral("Loose"));
    loose.SetPkgName(QStringLiteral("Alpha"));

    TFrPkgActive window;
    window.Execute(mainB);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("View PkgStrings"));
    EXPECT_EQ(window.FType, ctPkgStrings);
    const QStringList lines = Lines(window);
    const int a = lines.indexOf(QStringLiteral("Main (FormA.Pkg1)"));
    const int b = lines.indexOf(QStringLiteral("main (FormB.Pkg2)"));
    const int z = lines.indexOf(QStringLiteral("Zeta (FormA.PkgZ)"));
    const int l = lines.indexOf(QStringLiteral("Alpha (nil.Loose)"));
    ASSERT_TRUE(a >= 0 && b >= 0 && z >= 0 && l >= 0) << qPrintable(lines.join(u'|'));
    EXPECT_LT(l, a);
    EXPECT_LT(a, b);
    // Blanks are drawn trimmed but sorted as they are.
    EXPECT_LT(z, l);
    EXPECT_EQ(window.Current(), mainB);
    Q_UNUSED(zeta);
    Q_UNUSED(mainA);
}

TEST(PkgActive, ApplicationsKeepTheirOrderAndADoubleClickMakesOneActive)
{
    auto formA = Form("Main");
    auto formB = Form("Other");
    auto* appZ = new TKvCApplication(formA.get());
    appZ->SetName(QStringLiteral("ZApp"));
    auto* appA = new TKvCApplication(formB.get());
    appA->SetName(QStringLiteral("AApp"));

    TFrPkgActive window;
    window.Execute(appZ);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("View Applications"));
    const QStringList lines = Lines(window);
    const int z = lines.indexOf(QStringLiteral("ZApp (Main)"));
    const int a = lines.indexOf(QStringLiteral("AApp (Other)"));
    ASSERT_TRUE(z >= 0 && a >= 0) << qPrintable(lines.join(u'|'));
    EXPECT_LT(z, a);

    QListView* list = List(window);
    const QPoint at = list->visualRect(list->model()->index(a, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(KvCApp(), appA);
    EXPECT_EQ(window.Current(), appA);
}

TEST(PkgActive, RebuildsOnItsOwnMasterMessageOnlyAndEscapeCloses)
{
    auto form = Form("F");
    auto* vars = new TKvPkgVars(form.get());
    vars->SetName(QStringLiteral("V1"));
    vars->SetPkgName(QStringLiteral("Vars"));

    auto* window = KvShowPkgActive(vars);
    ASSERT_NE(window, nullptr);
    QPointer<TFrPkgActive> guard(window);
    EXPECT_EQ(KvShowPkgActive(vars), window) << "one window per kind";
    EXPECT_TRUE(window->isVisible());
    const int before = int(Lines(*window).size());

    auto* added = new TKvPkgVars(form.get());
    added->SetName(QStringLiteral("V2"));
    added->SetPkgName(QStringLiteral("More"));
    KvFormsPerform(KvMmPkgStrings, nullptr);
    EXPECT_EQ(Lines(*window).size(), before);
    KvFormsPerform(KvMmPkgVars, added);
    EXPECT_EQ(Lines(*window).size(), before + 1);
    EXPECT_EQ(window->Current(), vars) << "the current package stays current";

    QTest::keyClick(List(*window), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(KvFrPkgActive[ctPkgVars].isNull());
}

// The list opens over the main window; Enter on an entry does what a double click does, and
// the active package is drawn apart.
TEST(PkgActive, OpensOverTheMainWindowAndEnterMakesActive)
{
    QMainWindow main;
    main.setGeometry(300, 200, 800, 600);
    main.show();
    auto form = Form("F");
    TKvPkgStrings* first = Strings(form.get(), "P1", "Alpha");
    TKvPkgStrings* second = Strings(form.get(), "P2", "Alpha");
    Strings(form.get(), "P3", "Beta");
    first->SetActive(true);

    TFrPkgActive* window = KvShowPkgActive(first);
    ASSERT_NE(window, nullptr);
    QPointer<TFrPkgActive> guard(window);
    EXPECT_LT((window->geometry().center() - main.geometry().center()).manhattanLength(), 4);

    QListView* list = List(*window);
    const int row = Lines(*window).indexOf(QStringLiteral("Alpha (F.P2)"));
    ASSERT_GE(row, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
    EXPECT_FALSE(list->model()->index(row, 0).data(TKvPkgActiveModel::ActiveRole).toBool());
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(second->Active());
    EXPECT_EQ(KvFindPkgStrings(QStringLiteral("Alpha")), second);
    EXPECT_TRUE(list->model()->index(row, 0).data(TKvPkgActiveModel::ActiveRole).toBool());
    // A name listed once is found anyway: nothing to set apart.
    const int lone = Lines(*window).indexOf(QStringLiteral("Beta (F.P3)"));
    EXPECT_FALSE(list->model()->index(lone, 0).data(TKvPkgActiveModel::ActiveRole).toBool());
    delete guard.data();
}

TEST(PkgActive, ImagesAndVariablesPackagesOpenTheirListFromTheirMenu)
{
    auto form = Form("F");
    auto* images = new TKvPkgImages(form.get());
    images->SetName(QStringLiteral("Pi"));
    auto* vars = new TKvPkgVars(form.get());
    vars->SetName(QStringLiteral("Pv"));
    TKvPkgImagesComponentEditor imagesEditor(images, nullptr);
    TKvPkgVarsComponentEditor varsEditor(vars, nullptr);
    ASSERT_EQ(imagesEditor.GetVerb(0), QStringLiteral("View &Package List"));
    imagesEditor.ExecuteVerb(0);
    varsEditor.ExecuteVerb(0);
    for (TKvComponentType type : {ctPkgImages, ctPkgVars}) {
        QPointer<QWidget> window = KvFrPkgActive[type];
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        delete window.data();
    }
}

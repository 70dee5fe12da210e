#include "manager/KvManagerScan.h"

#include "FormStreams.h"
#include "KvApplication.h"
#include "KvFiles.h"
#include "KvFormDesigner.h"
#include <QUndoStack>
#include "KvHostServices.h"
#include "KvMessages.h"
#include "KvPkgPrivileges.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"
#include "KvRuntimeClasses.h"
#include "SysUtils.h"
#include "porting/KvPortDsgn.h"

#include "manager/KvVtManager.h"
#include "manager/KvVtManagerPkgs.h"
#include "manager/KvVtManagerRepl.h"
#include "display/KvVtSetsEditor.h"
#include "images/KvImagesList.h"
#include "images/KvVtPkgImages.h"
#include "strings/KvVtPkgStrings.h"
#include "ui_KvVtManager.h"
#include "ui_KvVtManagerPkgs.h"
#include "ui_KvVtManagerRepl.h"

#include <QApplication>
#include <QDir>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <tuple>

namespace {

// Collects what the engine tells, and can cancel after a number of steps.
class Feedback : public TKvManagerFeedback
{
public:
    QStringList Errors;
    qint64 CancelAfter = -1;
    qint64 Steps = 0;
    bool Advance(qint64 N) override
    {
        Steps += N;
        return CancelAfter < 0 || Steps < CancelAfter;
    }
    void Error(int, const QString& Text, const QStringList& Args) override { Errors << KvFormatArgs(Text, Args); }
};

const char* const MainDfm = R"(object FormMain: TFormMain
  Caption = 'Main = form'
  object CForm: TKvCForm
    MemoryLabel.PkgName = 'Main'
    MemoryLabel.Id = 5
    SetColor.Name = 'Red'
    SetFont.Name = 'Red'
    Privilege.Id = 3
  end
  object PnTop: TKvPanel
    object LaName: TKvLabel
      MemoryLabel.PkgName = 'main'
      MemoryLabel.Id = 5
    end
    object LaOther: TKvLabel
      MemoryLabel.PkgName = 'Main'
      MemoryLabel.Id = 6
    end
    object LaLate: TKvLabel
      Caption = 'x'
      MemoryLabel.Id = 5
    end
  end
  object SbMain: TKvStatusBar
    Panels = <
      item
        MemoryLabel.PkgName = 'Main'
        MemoryLabel.Id = 7
      end
      item
        MemoryLabel.PkgName = 'Main'
        MemoryLabel.Id = 5
      end>
  end
  object LaGhost: TKvLabel
    MemoryLabel.PkgName = 'Main'
    MemoryLabel.Id = 11
  end
end
)";

const char* const ChildDfm = R"(inherited FormChild: TFormChild
  inherited LaCafe: TKvLabel
    MemoryLabel.PkgName = 'Caf'#233
    MemoryLabel.Id = 5
  end
  inline FrTools: TFrTools
    object LaFrame: TKvLabel
      MemoryLabel.PkgName = 'Main'
      MemoryLabel.Id = 5
    end
  end
end
)";

const char* const BinDfm = R"(object FormBin: TFormBin
  object LaBin: TKvLabel
    MemoryLabel.PkgName = 'Main'
    MemoryLabel.Id = 5
    SetColor.Name = 'Red'
  end
end
)";

class KvManagerScanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvRegisterRuntimeClasses();
        const QDir dir(Dir.path());
        QString uses;
        for (const char* unit : {"Main", "Child", "Bin", "Broken"}) {
            const QString name = QString::fromLatin1(unit);
            Write(name + ".pas", QStringLiteral("unit %1;\n\ninterface\n\nuses Forms;\n\ntype\n  TForm%1 = class(TForm)\n"
                                                "  end;\n\nimplementation\n\n{$R *.dfm}\n\nend.\n")
                                     .arg(name)
                                     .toUtf8());
            uses += QStringLiteral(",\n  %1 in '%1.pas' {Form%1}").arg(name);
        }
        Write("P.dpr", QStringLiteral("program P;\n\nuses\n  Forms%1;\n\nbegin\nend.\n").arg(uses).toUtf8());
        Write("Main.dfm", MainDfm);
        Write("Child.dfm", ChildDfm);
        Write("Bin.dfm", ObjectTextToResource(BinDfm));
        Write("Broken.dfm", "\xFF\x0A\x00garbage");
        Host.OpenProject(dir.filePath(QStringLiteral("P.dpr")));
        KvGetFormNames(Files);
    }

    void Write(const QString& Name, const QByteArray& Data) { KvWriteFile(QDir(Dir.path()).filePath(Name), Data); }
    QString Path(const char* Name) const { return QDir(Dir.path()).filePath(QString::fromLatin1(Name)); }
    QString FormText(const char* Name) const
    {
        QStringList lines;
        TStreamOriginalFormat format;
        KvDelphiFormToFormText(Path(Name), lines, format);
        return lines.join(QLatin1Char('\n'));
    }
    QStringList Texts(const QList<TKvTokenRec1>& Hits) const
    {
        QStringList texts;
        for (const TKvTokenRec1& h : Hits)
            texts << KvLineString(h);
        return texts;
    }

    QTemporaryDir Dir;
    TKvHostServices Host;
    QStringList Files;
    Feedback Fb;
};

} // namespace

TEST(KvManagerTokens, LinesSplitAsTheManagerSplitsThem)
{
    const QList<QPair<const char*, QStringList>> cases = {
        {"object Label1: TKvLabel", {"object", "Label1", ":", "TKvLabel"}},
        {"  MemoryLabel.Id = 5", {"MemoryLabel", "Id", "=", "5"}},
        {"Font.Name = 'MS Sans Serif'", {"Font", "Name", "=", "'MS Sans Serif'"}},
        {"Left = 1.5", {"Left", "=", "1.5"}},
        {"Caption.Sub = x.y z", {"Caption", "Sub", "=", "x.y z"}},
        {"Caption = 'a.b c'", {"Caption", "=", "'a.b c'"}},
        {"Caption = 'a=b:c'", {"Caption", "=", "'a=b:c'"}},
        {"", {}},
    };
    for (const auto& [line, tokens] : cases)
        EXPECT_EQ(KvGetListTokens(QString::fromLatin1(line)), tokens) << line;

    EXPECT_EQ(KvFormStringValue(u"'Caf'#233"), QStringLiteral("Caf\u00e9"));
    EXPECT_EQ(KvFormStringValue(u"'It''s' #$41"), QStringLiteral("It'sA"));
    EXPECT_FALSE(KvFormStringValue(u"5").has_value());
    EXPECT_FALSE(KvFormStringValue(u"'open").has_value());
}

TEST(KvManagerTokens, ListTextsOfHitsAndCountedItems)
{
    EXPECT_EQ(KvLineString({"/p/Unit1.dfm", 4, "Grid1:TKvGrid.Columns[2].MemoryLabel", "    MemoryLabel.Id = 5"}),
              "(Unit1.dfm) (Grid1:TKvGrid - Columns[2])     MemoryLabel.Id = 5");
    EXPECT_EQ(KvLineString({"SetsColor", -1, "Red", ""}), "(SetsColor) Name: 'Red'");
    EXPECT_EQ(KvLineString({"Privileges", -1, "12", ""}), "(Privileges) Id: 12");
    EXPECT_EQ(KvCounterString(TKvDlgManager::dlmLabels, {"'Main'", "12", 3, false}), "(00003) PkgName: 'Main' Id: 12");
    EXPECT_EQ(KvCounterString(TKvDlgManager::dlmSetsFont, {"", "'Title'", 0, true}),
              "(00000) Name: 'Title' ( Nonexistent )");
    EXPECT_EQ(KvCounterString(TKvDlgManager::dlmPrivileges, {"", "7", 1, false}), "(00001) Id: 7");
}

// Nested objects, a collection, an inherited form with a frame, a binary form, and a form that
// cannot be read, which is told by name without stopping the scan.
TEST_F(KvManagerScanTest, ScanFindsEveryReferenceOfTheKindInEveryForm)
{
    TKvManagerScanner scanner(TKvDlgManager::dlmLabels);
    const QList<TKvTokenRec1> hits = scanner.Scan(Files, QStringLiteral("Main"), QStringLiteral("5"), Fb);
    EXPECT_EQ(Texts(hits), QStringList({
                               "(Main.dfm) (CForm:TKvCForm)     MemoryLabel.Id = 5",
                               "(Main.dfm) (LaName:TKvLabel)       MemoryLabel.Id = 5",
                               "(Main.dfm) (SbMain:TKvStatusBar - Panels[1])         MemoryLabel.Id = 5",
                               "(Child.dfm) (LaFrame:TKvLabel)       MemoryLabel.Id = 5",
                               "(Bin.dfm) (LaBin:TKvLabel)     MemoryLabel.Id = 5",
                           }));
    EXPECT_EQ(hits[2].StrChange, "SbMain:TKvStatusBar.Panels[1].MemoryLabel");
    EXPECT_EQ(hits[2].NumLine, 31);
    ASSERT_EQ(Fb.Errors.size(), 1);
    EXPECT_TRUE(Fb.Errors[0].contains(Path("Broken.dfm"))) << Fb.Errors[0].toStdString();

    // Escapes are decoded before comparing.
    EXPECT_EQ(Texts(scanner.Scan(Files, QStringLiteral("caf\u00e9"), QStringLiteral("5"), Fb)),
              QStringList({"(Child.dfm) (LaCafe:TKvLabel)     MemoryLabel.Id = 5"}));
    // LaOther only; LaLate's id line has no package line of its own (the first scan did not take it).
    EXPECT_EQ(scanner.Scan(Files, QStringLiteral("Main"), QStringLiteral("6"), Fb).size(), 1);
}

TEST_F(KvManagerScanTest, NameKeyedKindsCheckTheReferenceClass)
{
    TKvManagerScanner colors(TKvDlgManager::dlmSetsColor);
    const QList<TKvTokenRec1> hits = colors.Scan(Files, QStringLiteral("red"), QStringLiteral("red"), Fb);
    EXPECT_EQ(Texts(hits), QStringList({"(Main.dfm) (CForm:TKvCForm)     SetColor.Name = 'Red'",
                                        "(Bin.dfm) (LaBin:TKvLabel)     SetColor.Name = 'Red'"}));
    TKvManagerScanner privileges(TKvDlgManager::dlmPrivileges);
    EXPECT_EQ(privileges.Scan(Files, QString(), QStringLiteral("3"), Fb).size(), 1);
    // A property path that the class does not have is told once, naming the file and line.
    TKvManagerScanner scanner(TKvDlgManager::dlmLabels);
    scanner.SetFeedback(&Fb);
    scanner.BeginFile(QStringLiteral("/x/U.dfm"));
    scanner.LineScanner(0, u"object F: TForm");
    scanner.LineScanner(1, u"object L: TKvLabel");
    Fb.Errors.clear();
    scanner.SetSearch(QStringLiteral("P"), QStringLiteral("1"));
    for (int i = 2; i < 6; ++i)
        EXPECT_FALSE(scanner.LineScanner(i, u"  Missing.PkgName = 'P'"));
    EXPECT_EQ(Fb.Errors, QStringList({"The file: U.dfm can contain an error in the line: (2) L:TKvLabel.Missing"}));
    // A binary form has no lines: the place is the byte offset of the property in the file.
    const QByteArray bin = ObjectTextToResource("object F: TForm\n  object L: TKvLabel\n    Caption = 'x'\n"
                                                "    Missing.PkgName = 'P'\n  end\nend\n");
    Write("Bin.dfm", bin);
    Fb.Errors.clear();
    EXPECT_TRUE(scanner.Scan({Path("Bin.dfm")}, QStringLiteral("P"), QStringLiteral("1"), Fb).isEmpty());
    EXPECT_EQ(Fb.Errors, QStringList({QStringLiteral("The file: Bin.dfm can contain an error in the line: (offset %1) "
                                                     "L:TKvLabel.Missing")
                                          .arg(bin.indexOf("\x0FMissing.PkgName"))}));
}

TEST_F(KvManagerScanTest, CountGivesEveryItemWithItsUsesAndMarksMissingOnes)
{
    TKvPkgStrings pkg;
    pkg.SetPkgName(QStringLiteral("Main"));
    for (int id : {5, 6, 7, 9})
        pkg.Labels()->Add(id, QStringLiteral("L%1").arg(id));
    TKvCApplication app;
    app.PkgDisplay()->SetsColor()->Add(QStringLiteral("Red"))->SetDescriptionId(QStringLiteral("main"), 5);

    TKvManagerScanner scanner(TKvDlgManager::dlmLabels);
    QStringList texts;
    for (const TKvTokenRec2& r : scanner.Count(Files, {QStringLiteral("Main")}, Fb))
        texts << KvCounterString(TKvDlgManager::dlmLabels, r);
    texts.sort();
    EXPECT_EQ(texts, QStringList({"(00000) PkgName: 'Main' Id: 9", "(00001) PkgName: 'Main' Id: 11 ( Nonexistent )",
                                  "(00001) PkgName: 'Main' Id: 6", "(00001) PkgName: 'Main' Id: 7",
                                  "(00006) PkgName: 'Main' Id: 5"}));

    TKvManagerScanner colors(TKvDlgManager::dlmSetsColor);
    texts.clear();
    for (const TKvTokenRec2& r : colors.Count(Files, {}, Fb))
        texts << KvCounterString(TKvDlgManager::dlmSetsColor, r);
    EXPECT_EQ(texts, QStringList({"(00002) Name: 'Red'"}));

    // A cancelled count stops early.
    Fb.CancelAfter = 1;
    scanner.Count(Files, {QStringLiteral("Main")}, Fb);
    EXPECT_TRUE(scanner.Cancelled());
}

TEST_F(KvManagerScanTest, ReplaceRewritesClosedFormsInTheirOwnFormat)
{
    TKvManagerScanner scanner(TKvDlgManager::dlmLabels);
    QList<TKvTokenRec1> hits = scanner.Scan(Files, QStringLiteral("Main"), QStringLiteral("5"), Fb);
    ASSERT_EQ(hits.size(), 5);
    hits.removeAt(1); // LaName stays
    EXPECT_EQ(scanner.Replace(hits, QStringLiteral("Other"), QStringLiteral("8"), Fb), 0);
    EXPECT_TRUE(KvReadFile(Path("Bin.dfm")).startsWith("\xFF\x0A\x00"));
    EXPECT_TRUE(FormText("Bin.dfm").contains("    MemoryLabel.PkgName = 'Other'\n    MemoryLabel.Id = 8"));
    EXPECT_TRUE(FormText("Main.dfm").contains("        MemoryLabel.PkgName = 'Other'\n        MemoryLabel.Id = 8\n"));
    EXPECT_EQ(scanner.Scan(Files, QStringLiteral("Main"), QStringLiteral("5"), Fb).size(), 1);
    EXPECT_EQ(scanner.Scan(Files, QStringLiteral("Other"), QStringLiteral("8"), Fb).size(), 4);
    // A value that is not a number changes nothing.
    EXPECT_THROW(scanner.Replace(hits, QStringLiteral("X"), QStringLiteral("eight"), Fb), EConvertError);
}

TEST_F(KvManagerScanTest, ClearRemovesTheLinesOfAReferenceAndCountsEditedOnes)
{
    const QByteArray before = KvReadFile(Path("Main.dfm"));
    TKvManagerScanner scanner(TKvDlgManager::dlmLabels);
    const QList<TKvTokenRec1> hits = scanner.Scan(Files, QStringLiteral("Main"), QStringLiteral("5"), Fb);
    // LaName's line is edited after the scan.
    QByteArray edited = before;
    edited.replace("'main'\n      MemoryLabel.Id = 5", "'main'\n      MemoryLabel.Id =  5");
    Write("Main.dfm", edited);
    EXPECT_EQ(scanner.Clear(hits, Fb), 1);
    const QString main = FormText("Main.dfm");
    EXPECT_EQ(main.count("MemoryLabel.Id = 5"), 1); // LaLate's, which has no package line
    EXPECT_EQ(main.count("MemoryLabel.Id =  5"), 1);
    EXPECT_EQ(main.split('\n').size(), edited.count('\n') - 4);
    EXPECT_TRUE(main.contains("SetColor.Name = 'Red'"));

    TKvManagerScanner colors(TKvDlgManager::dlmSetsColor);
    const QList<TKvTokenRec1> sets = colors.Scan(Files, QString(), QStringLiteral("Red"), Fb);
    EXPECT_EQ(colors.Clear(sets, Fb), 0);
    EXPECT_FALSE(FormText("Bin.dfm").contains("SetColor"));
    EXPECT_TRUE(FormText("Bin.dfm").contains("object LaBin: TKvLabel"));
}

// The lines found by their text are those that reading every line finds (a text ending in a
// lone CR is read line by line), odd lines included; a binary form, walked as stored, gives the
// same hits and counts as its text.
TEST_F(KvManagerScanTest, LinesFoundByTheirTextAreThoseFoundLineByLine)
{
    const QByteArray odd = QByteArray(MainDfm).replace("  object LaGhost: TKvLabel\n",
                                                       "  object LaTwice: TKvLabel\n"
                                                       "    MemoryLabel.PkgName = 'Main'\n"
                                                       "    MemoryLabel.PkgName = 'Main'\n"
                                                       "    MemoryLabel.Id = 5\n"
                                                       "  end\n"
                                                       "  object LaAlone: TKvLabel\n"
                                                       "    MemoryLabel.PkgName = 'Main'\n"
                                                       "  end\n"
                                                       "  object LaLone: TKvLabel\n"
                                                       "    MemoryLabel.Id = 6\n"
                                                       "  end\n"
                                                       "  object LaGhost: TKvLabel\n");
    Write("Main.dfm", odd);
    Write("Child.dfm", odd + "\r");
    Write("Bin.dfm", ObjectTextToResource(odd));
    const auto found = [&](const char* File, TKvDlgManager Kind, const char* Pkg, const char* Value) {
        QStringList lines;
        TKvManagerScanner scanner(Kind);
        for (const TKvTokenRec1& h : scanner.Scan({Path(File)}, QString::fromLatin1(Pkg), QString::fromLatin1(Value), Fb))
            lines << QStringLiteral("%1 %2 %3").arg(h.NumLine).arg(h.StrChange, h.StrLine);
        return lines;
    };
    for (const auto& [kind, pkg, value] : {std::tuple{TKvDlgManager::dlmLabels, "Main", "5"},
                                           std::tuple{TKvDlgManager::dlmLabels, "main", "7"},
                                           std::tuple{TKvDlgManager::dlmSetsColor, "", "Red"},
                                           std::tuple{TKvDlgManager::dlmPrivileges, "", "3"}}) {
        const QStringList byText = found("Main.dfm", kind, pkg, value);
        EXPECT_FALSE(byText.isEmpty());
        EXPECT_EQ(byText, found("Child.dfm", kind, pkg, value)) << pkg << value;
        EXPECT_EQ(byText, found("Bin.dfm", kind, pkg, value)) << pkg << value;
    }
    const auto counted = [&](const char* File, TKvDlgManager Kind) {
        QStringList texts;
        TKvManagerScanner scanner(Kind);
        for (const TKvTokenRec2& r : scanner.Count({Path(File)}, {QStringLiteral("main")}, Fb))
            texts << KvCounterString(Kind, r);
        return texts;
    };
    for (const TKvDlgManager kind : {TKvDlgManager::dlmLabels, TKvDlgManager::dlmSetsColor, TKvDlgManager::dlmPrivileges}) {
        EXPECT_FALSE(counted("Main.dfm", kind).isEmpty());
        EXPECT_EQ(counted("Main.dfm", kind), counted("Bin.dfm", kind)) << int(kind);
    }
    EXPECT_FALSE(found("Main.dfm", TKvDlgManager::dlmLabels, "Main", "5").join('\n').contains("LaTwice"));
}

// An old 8-bit form keeps its bytes where nothing changed.
TEST_F(KvManagerScanTest, ReplaceKeepsTheBytesOfAn8BitForm)
{
    QByteArray old = QByteArray(MainDfm).replace("'Main = form'", "'Caf\xE9'");
    Write("Main.dfm", old);
    TKvManagerScanner scanner(TKvDlgManager::dlmLabels);
    const QList<TKvTokenRec1> hits = scanner.Scan({Path("Main.dfm")}, QStringLiteral("Main"), QStringLiteral("7"), Fb);
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(scanner.Replace(hits, QStringLiteral("Main"), QStringLiteral("70"), Fb), 0);
    EXPECT_EQ(KvReadFile(Path("Main.dfm")), old.replace("MemoryLabel.Id = 7\n", "MemoryLabel.Id = 70\n"));
}

// A form open in the designer: the live component changes, the file does not, and the change is
// one step of the form's history.
TEST_F(KvManagerScanTest, ReplaceAndClearChangeAnOpenFormLive)
{
    const QByteArray file = KvReadFile(Path("Bin.dfm"));
    TKvFormEditor* form = Host.OpenForm(Path("Bin.pas"));
    ASSERT_TRUE(form);
    TKvManagerScanner scanner(TKvDlgManager::dlmLabels);
    const QList<TKvTokenRec1> hits = scanner.Scan({Path("Bin.dfm")}, QStringLiteral("Main"), QStringLiteral("5"), Fb);
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(scanner.Replace(hits, QStringLiteral("Other"), QStringLiteral("8"), Fb), 0);
    auto* label = form->GetRootComponent()->FindComponent(QStringLiteral("LaBin"));
    auto* ref = label->property("MemoryLabel").value<TKvMemoryLabel*>();
    EXPECT_EQ(ref->PkgName(), "Other");
    EXPECT_EQ(ref->Id(), 8);
    EXPECT_TRUE(form->IsModified());
    EXPECT_EQ(KvReadFile(Path("Bin.dfm")), file);

    const QList<TKvTokenRec1> again = scanner.Scan({Path("Bin.dfm")}, QStringLiteral("Other"), QStringLiteral("8"), Fb);
    EXPECT_EQ(scanner.Clear(again, Fb), 0);
    EXPECT_EQ(ref->Id(), -1);
    EXPECT_EQ(ref->PkgName(), "");
    form->Designer()->UndoStack()->undo();
    ref = form->GetRootComponent()->FindComponent(QStringLiteral("LaBin"))->property("MemoryLabel").value<TKvMemoryLabel*>();
    EXPECT_EQ(ref->Id(), 8);
}

namespace {

// Runs Action on the next modal window once it shows.
void OnModal(std::function<void(QWidget*)> Action)
{
    QTimer::singleShot(0, [Action] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        Action(window);
    });
}

void ClickCheck(QListView* List, int Row)
{
    QStyleOptionViewItem option;
    option.initFrom(List->viewport());
    option.rect = List->visualRect(List->model()->index(Row, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = List->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, List);
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, box.center());
}

QStringList Rows(const QStandardItemModel* Model)
{
    QStringList rows;
    for (int i = 0; i < Model->rowCount(); ++i)
        rows << (Model->item(i)->checkState() == Qt::Checked ? "[x] " : "[ ] ") + Model->item(i)->text();
    return rows;
}

} // namespace

// The window as a user drives it: scan a label, uncheck one hit, replace the others; count the
// package's labels and clear the unused one through the strings editor that opened the manager.
TEST_F(KvManagerScanTest, ManagerWindowScansReplacesCountsAndClears)
{
    TKvPkgStrings pkg;
    pkg.SetPkgName(QStringLiteral("Main"));
    for (int id : {5, 6, 7, 8, 9})
        pkg.Labels()->Add(id, QStringLiteral("L%1").arg(id));
    TFrPkgStrings editor;
    editor.PkgStrings = &pkg;
    editor.LoadStrings();
    TKvMessageRecorder messages; // the clear question is answered with its default, Yes
    TFrManager manager(&editor);
    Ui::TFrManager* ui = manager.ui();
    OnModal([&](QWidget*) {
        EXPECT_EQ(manager.windowTitle(), "Packages Manager (Labels)");
        EXPECT_FALSE(ui->BtReplace->isEnabled());
        QTest::mouseClick(ui->BtScan, Qt::LeftButton);
        EXPECT_EQ(manager.Model()->rowCount(), 5);
        EXPECT_EQ(ui->sb->currentMessage(), "Found: 5 Selected: 5");
        ClickCheck(ui->clb, 1); // LaName stays
        EXPECT_EQ(ui->sb->currentMessage(), "Found: 5 Selected: 4");
        OnModal([&](QWidget* Window) {
            auto* replace = qobject_cast<TFrManagerRepl*>(Window);
            ASSERT_TRUE(replace);
            EXPECT_EQ(replace->ui()->EdId->text(), "5");
            QTest::keyClick(replace->ui()->EdId, Qt::Key_Backspace);
            QTest::keyClicks(replace->ui()->EdId, "8");
            QTest::mouseClick(replace->ui()->BtOk, Qt::LeftButton);
        });
        QTest::mouseClick(ui->BtReplace, Qt::LeftButton);
        EXPECT_EQ(manager.ModeScan(), TKvModeScan::msnNone);
        EXPECT_EQ(manager.Model()->rowCount(), 0);

        OnModal([&](QWidget* Window) {
            auto* select = qobject_cast<TFrManagerPkgs*>(Window);
            ASSERT_TRUE(select);
            QTest::mouseClick(select->ui()->BtOk, Qt::LeftButton);
        });
        QTest::mouseClick(ui->BtCounter, Qt::LeftButton);
        EXPECT_EQ(Rows(manager.Model()), QStringList({"[x] (00000) PkgName: 'Main' Id: 9",
                                                       "[ ] (00001) PkgName: 'Main' Id: 11 ( Nonexistent )",
                                                       "[ ] (00001) PkgName: 'Main' Id: 6",
                                                       "[ ] (00001) PkgName: 'Main' Id: 7",
                                                       // spelt as the first reference met
                                                       "[ ] (00001) PkgName: 'main' Id: 5",
                                                       "[ ] (00004) PkgName: 'Main' Id: 8"}))
            << Rows(manager.Model()).join('\n').toStdString();
        // A click on a counted item makes it the search key.
        QTest::mouseClick(ui->clb->viewport(), Qt::LeftButton, {}, ui->clb->visualRect(manager.Model()->index(4, 0)).center());
        EXPECT_EQ(ui->EdId->text(), "5");
        EXPECT_EQ(manager.ModeScan(), TKvModeScan::msnCounter);
        QTest::mouseClick(ui->BtClear, Qt::LeftButton);
        QTest::mouseClick(ui->BtOk, Qt::LeftButton);
    });
    manager.Execute(TKvDlgManager::dlmLabels, QStringLiteral("Main"), QStringLiteral("5"));
    EXPECT_EQ(messages.Count(), 3); // the unreadable form, by the scan and by the count; the question
    EXPECT_FALSE(pkg.Labels()->FindId(9));
    EXPECT_EQ(editor.Model(TKvStringsKind::Labels)->rowCount(), 4);
    EXPECT_TRUE(FormText("Main.dfm").contains("'main'\n      MemoryLabel.Id = 5"));
    EXPECT_TRUE(FormText("Bin.dfm").contains("MemoryLabel.PkgName = 'Main'\n    MemoryLabel.Id = 8"));
}

// After a count, Clear deletes the unused images through the images editor that opened the
// manager, and destroys those of another package directly.
TEST_F(KvManagerScanTest, ClearAfterACountDeletesUnusedImagesThroughTheEditor)
{
    TKvPkgImages icons, other;
    icons.SetPkgName(QStringLiteral("Icons"));
    other.SetPkgName(QStringLiteral("Other"));
    icons.Images()->Add(1);
    icons.Images()->Add(2);
    other.Images()->Add(3);
    Write("Main.dfm", QByteArray(MainDfm).replace("  object LaGhost: TKvLabel\n", "  object PiLogo: TKvPkgImage\n"
                                                                                 "    MemoryImage.PkgName = 'Icons'\n"
                                                                                 "    MemoryImage.Id = 2\n"
                                                                                 "  end\n"
                                                                                 "  object LaGhost: TKvLabel\n"));
    TFrPkgImages editor;
    editor.PkgImages = &icons;
    editor.LoadImages();
    const int shown = editor.Model()->rowCount();
    TKvMessageRecorder messages;
    TFrManager manager(&editor);
    manager.Prepare(TKvDlgManager::dlmImages, QStringLiteral("Icons"), QStringLiteral("1"));
    OnModal([](QWidget* Window) { QTest::mouseClick(qobject_cast<TFrManagerPkgs*>(Window)->ui()->BtOk, Qt::LeftButton); });
    manager.BtCounterClick();
    EXPECT_EQ(Rows(manager.Model()), QStringList({"[x] (00000) PkgName: 'Icons' Id: 1", "[x] (00000) PkgName: 'Other' Id: 3",
                                                  "[ ] (00001) PkgName: 'Icons' Id: 2"}))
        << Rows(manager.Model()).join('\n').toStdString();
    manager.BtClearClick();
    EXPECT_FALSE(icons.Images()->FindId(1));
    EXPECT_TRUE(icons.Images()->FindId(2));
    EXPECT_FALSE(other.Images()->FindId(3));
    EXPECT_EQ(editor.Model()->rowCount(), shown - 1);
}

// The skins of the application component hold their images two objects deep.
TEST_F(KvManagerScanTest, SkinImagesAreFoundAndCounted)
{
    Write("Main.dfm", QByteArray(MainDfm).replace("  object LaGhost: TKvLabel\n", "  object KvApp: TKvCApplication\n"
                                                                                 "    CWSkin.Image.PkgName = 'Icons'\n"
                                                                                 "    CWSkin.Image.Id = 2\n"
                                                                                 "    CWSkin.Transparent = True\n"
                                                                                 "    HiSkin.Image.PkgName = 'icons'\n"
                                                                                 "    HiSkin.Image.Id = 2\n"
                                                                                 "  end\n"
                                                                                 "  object LaGhost: TKvLabel\n"));
    TKvManagerScanner images(TKvDlgManager::dlmImages);
    QList<TKvTokenRec1> hits = images.Scan(Files, QStringLiteral("Icons"), QStringLiteral("2"), Fb);
    EXPECT_EQ(Texts(hits), QStringList({"(Main.dfm) (KvApp:TKvCApplication)     CWSkin.Image.Id = 2",
                                        "(Main.dfm) (KvApp:TKvCApplication)     HiSkin.Image.Id = 2"}))
        << Texts(hits).join('\n').toStdString();
    QStringList texts;
    for (const TKvTokenRec2& r : images.Count(Files, {QStringLiteral("Icons")}, Fb))
        texts << KvCounterString(TKvDlgManager::dlmImages, r);
    EXPECT_EQ(texts, QStringList({"(00002) PkgName: 'Icons' Id: 2 ( Nonexistent )"})) << texts.join('\n').toStdString();
    hits.removeLast();
    EXPECT_EQ(images.Replace(hits, QStringLiteral("Icons"), QStringLiteral("3"), Fb), 0);
    EXPECT_TRUE(FormText("Main.dfm").contains("    CWSkin.Image.PkgName = 'Icons'\n    CWSkin.Image.Id = 3\n"
                                              "    CWSkin.Transparent = True\n"));
    EXPECT_EQ(images.Scan(Files, QStringLiteral("Icons"), QStringLiteral("2"), Fb).size(), 1);
    // The labels' scan is not misled by them.
    TKvManagerScanner labels(TKvDlgManager::dlmLabels);
    EXPECT_EQ(labels.Scan(Files, QStringLiteral("Icons"), QStringLiteral("2"), Fb).size(), 0);
}

namespace {

// Stands for the privileges window that opened the manager.
class PrivilegesOwner : public QWidget, public IKvPrivilegesOwner
{
public:
    QList<int> Deleted;
    void DeleteItem(TKvPkgPrivilegesItem* Item) override
    {
        Deleted << Item->Id();
        delete Item;
    }
};

} // namespace

// After a count, Clear hands each unused privilege to the privileges window that opened the
// manager; any other owner leaves the privileges alone.
TEST_F(KvManagerScanTest, ClearAfterACountDeletesUnusedPrivilegesThroughTheirWindow)
{
    TKvCApplication app;
    for (int id : {3, 4, 9})
        app.Privileges()->Add(id);
    TKvMessageRecorder messages;
    const auto countAndClear = [&](QWidget* Owner) {
        TFrManager manager(Owner);
        manager.Prepare(TKvDlgManager::dlmPrivileges, QString(), QStringLiteral("3"));
        manager.BtCounterClick();
        EXPECT_EQ(Rows(manager.Model()), QStringList({"[x] (00000) Id: 4", "[x] (00000) Id: 9", "[ ] (00001) Id: 3"}))
            << Rows(manager.Model()).join('\n').toStdString();
        manager.BtClearClick();
    };
    QWidget stranger;
    countAndClear(&stranger);
    EXPECT_EQ(app.Privileges()->Count(), 3);
    PrivilegesOwner owner;
    countAndClear(&owner);
    EXPECT_EQ(owner.Deleted, QList<int>({4, 9}));
    EXPECT_FALSE(app.Privileges()->FindId(4));
    EXPECT_TRUE(app.Privileges()->FindId(3));
}

// A reference left at "<Default>" writes no line, yet the application draws with the default
// set: a count keeps it used, so that a clear removes only the sets nothing draws with.
TEST_F(KvManagerScanTest, ClearAfterACountKeepsTheSetsThatServeAsDefaults)
{
    Write("Main.dfm", "object FormMain: TFormMain\n"
                      "  object EdName: TKvEdit\n"
                      "  end\n"
                      "  object PnTop: TKvPanel\n"
                      "    SetBackGround.Name = 'Frame'\n"
                      "  end\n"
                      "end\n");
    TKvCApplication app;
    for (const char* name : {"EdBackGround", "Unused", "Frame", "HiBackGround"})
        app.PkgDisplay()->SetsBackGround()->Add(QString::fromLatin1(name));
    TKvMessageRecorder messages;
    TFrSetsBackGround editor;
    editor.CApplication = &app;
    editor.Load();
    TFrManager manager(&editor);
    manager.Prepare(TKvDlgManager::dlmSetsBackGround, QString(), QStringLiteral("Frame"));
    manager.BtCounterClick();
    QStringList rows = Rows(manager.Model());
    rows.sort();
    EXPECT_EQ(rows, QStringList({"[ ] (00001) Name: 'EdBackGround'", "[ ] (00001) Name: 'Frame'",
                                 "[ ] (00001) Name: 'HiBackGround'", "[x] (00000) Name: 'Unused'"}))
        << rows.join('\n').toStdString();
    manager.BtClearClick();
    const TKvSetBackGroundList* sets = app.PkgDisplay()->SetsBackGround();
    EXPECT_EQ(sets->Find(QStringLiteral("Unused")), nullptr);
    for (const char* name : {"EdBackGround", "Frame", "HiBackGround"})
        EXPECT_NE(sets->Find(QString::fromLatin1(name)), nullptr) << name;

    // The light edge of the title buttons is looked up by its name alone.
    app.PkgDisplay()->SetsColor()->Add(QStringLiteral("3DMLight"));
    app.PkgDisplay()->SetsColor()->Add(QStringLiteral("Spare"));
    QStringList colours;
    for (const TKvTokenRec2& r : TKvManagerScanner(TKvDlgManager::dlmSetsColor).Count(Files, {}, Fb))
        colours << KvCounterString(TKvDlgManager::dlmSetsColor, r);
    EXPECT_TRUE(colours.contains("(00001) Name: '3DMLight'")) << colours.join('\n').toStdString();
    EXPECT_TRUE(colours.contains("(00000) Name: 'Spare'")) << colours.join('\n').toStdString();
}

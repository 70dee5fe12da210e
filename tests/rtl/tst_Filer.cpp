#include "Classes.h"
#include "Filer.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "Variants.h"

#include <gtest/gtest.h>

// A small control library, enough to exercise every kind of published property.

class TTestFont : public TPersistent
{
    Q_OBJECT
public:
    enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)
private:
    Q_PROPERTY(QString Name MEMBER FName)
    Q_PROPERTY(int Size MEMBER FSize)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)
public:
    using TPersistent::TPersistent;
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value) { FStyle = Value; }
    QString FName = QStringLiteral("Tahoma");
    int FSize = 8;
    TFontStyles FStyle;
};

class TTestColumn : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER FCaption)
    Q_PROPERTY(int Width MEMBER FWidth)
public:
    Q_INVOKABLE explicit TTestColumn(TCollection* Collection) : TCollectionItem(Collection) {}
    QString FCaption;
    int FWidth = 64;
};

class TTestControl : public TComponent
{
    Q_OBJECT
public:
    enum TAlign { alNone, alTop, alClient };
    Q_ENUM(TAlign)
    enum TAnchorKind { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
    Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
    Q_FLAG(TAnchors)
private:
    Q_PROPERTY(int Left MEMBER FLeft)
    Q_PROPERTY(int Top MEMBER FTop)
    Q_PROPERTY(QString Caption MEMBER FCaption)
    Q_PROPERTY(TAlign Align MEMBER FAlign)
    Q_PROPERTY(TAnchors Anchors READ Anchors WRITE SetAnchors)
    Q_PROPERTY(bool Visible MEMBER FVisible)
    Q_PROPERTY(double Ratio MEMBER FRatio)
    Q_PROPERTY(qint64 Big MEMBER FBig)
    Q_PROPERTY(TTestFont* Font READ Font)
    Q_PROPERTY(TStrings* Lines READ Lines)
    Q_PROPERTY(TCollection* Columns READ Columns)
    Q_PROPERTY(TTestControl* FocusControl READ FocusControl WRITE SetFocusControl)
    Q_PROPERTY(Variant Value MEMBER FValue)
    Q_PROPERTY(TMethod OnClick MEMBER FOnClick)

public:
    Q_INVOKABLE explicit TTestControl(TComponent* AOwner = nullptr)
        : TComponent(AOwner), FFont(new TTestFont(this)), FLines(new TStrings(this)),
          FColumns(new TCollection(&TTestColumn::staticMetaObject, this))
    {
    }
    ~TTestControl() override
    {
        SetParentControl(nullptr);
        for (TTestControl* c : std::as_const(FControls))
            c->FParent = nullptr;
        delete FColumns;
    }

    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value) { FAnchors = Value; }
    TTestFont* Font() const { return FFont; }
    TStrings* Lines() const { return FLines; }
    TCollection* Columns() const { return FColumns; }
    TTestControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TTestControl* Value) { FFocusControl = Value; }
    TTestColumn* Column(int i) const { return static_cast<TTestColumn*>(FColumns->Items(i)); }

    void SetParentControl(TTestControl* Value)
    {
        if (FParent)
            FParent->FControls.removeAll(this);
        FParent = Value;
        if (FParent)
            FParent->FControls.append(this);
    }
    bool HasParent() const override { return FParent != nullptr; }
    TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent* Value) override { SetParentControl(qobject_cast<TTestControl*>(Value)); }
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override
    {
        if (this == Root)
            TComponent::GetChildren(Proc, Root);
        for (TTestControl* c : FControls)
            Proc(c);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (Operation == TOperation::opRemove && AComponent == FFocusControl)
            FFocusControl = nullptr;
        TComponent::Notification(AComponent, Operation);
    }
    void Loaded() override
    {
        TComponent::Loaded();
        FocusAtLoaded = FFocusControl ? FFocusControl->GetName() : QStringLiteral("-");
        ++LoadedCount;
    }
    void DefineProperties(TFiler* Filer) override
    {
        TComponent::DefineProperties(Filer);
        Filer->DefineBinaryProperty(
            QStringLiteral("Data"), [this](const QByteArray& d) { FData = d; }, [this] { return FData; },
            !FData.isEmpty());
    }

    int FLeft = 0, FTop = 0;
    QString FCaption;
    TAlign FAlign = alNone;
    TAnchors FAnchors = TAnchors(akLeft | akTop);
    bool FVisible = true;
    double FRatio = 0;
    qint64 FBig = 0;
    Variant FValue;
    TMethod FOnClick;
    QByteArray FData;
    QString FocusAtLoaded;
    int LoadedCount = 0;
    TTestFont* FFont;
    TStrings* FLines;
    TCollection* FColumns;
    TTestControl* FFocusControl = nullptr;
    TTestControl* FParent = nullptr;
    QList<TTestControl*> FControls;
};

class TTestTimer : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(int Interval MEMBER FInterval)
public:
    Q_INVOKABLE explicit TTestTimer(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    int FInterval = 1000;
};

class TTestForm : public TTestControl
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit TTestForm(TComponent* AOwner = nullptr) : TTestControl(AOwner) {}
};

namespace {

void RegisterTestClasses()
{
    RegisterClasses({&TTestControl::staticMetaObject, &TTestTimer::staticMetaObject, &TTestForm::staticMetaObject});
}

const char* const FormText = "object Form1: TTestForm\n"
                             "  Caption = 'Main'\n"
                             "  object Timer1: TTestTimer\n"
                             "    Interval = 250\n"
                             "  end\n"
                             "  object Panel1: TTestControl\n"
                             "    Left = 8\n"
                             "    Align = alTop\n"
                             "    Anchors = [akLeft, akRight]\n"
                             "    Visible = False\n"
                             "    Ratio = 0.250000000000000000\n"
                             "    Big = 5000000000\n"
                             "    Font.Name = 'Courier'\n"
                             "    Font.Style = [fsBold, fsUnderline]\n"
                             "    Lines.Strings = (\n"
                             "      'one'\n"
                             "      'two')\n"
                             "    Columns = <\n"
                             "      item\n"
                             "        Caption = 'Id'\n"
                             "      end\n"
                             "      item\n"
                             "        Caption = 'Name'\n"
                             "        Width = 200\n"
                             "      end>\n"
                             "    FocusControl = Edit1\n"
                             "    Value = 'text'\n"
                             "    OnClick = Panel1Click\n"
                             "    Data = {0102}\n"
                             "    object Edit1: TTestControl\n"
                             "      Top = 4\n"
                             "      Value = 42\n"
                             "    end\n"
                             "  end\n"
                             "end\n";

std::unique_ptr<TComponent> Read(const QByteArray& text, TComponent* root = nullptr,
                                 const QMetaObject* ancestor = nullptr)
{
    return std::unique_ptr<TComponent>(ReadComponentStream(text, root, ancestor));
}

} // namespace

TEST(Filer, ReadsEveryKindOfPropertyAndWritesTheSameText)
{
    RegisterTestClasses();
    auto root = Read(FormText);
    auto* form = qobject_cast<TTestForm*>(root.get());
    ASSERT_TRUE(form);
    auto* panel = qobject_cast<TTestControl*>(form->FindComponent(QStringLiteral("Panel1")));
    auto* edit = qobject_cast<TTestControl*>(form->FindComponent(QStringLiteral("edit1")));
    ASSERT_TRUE(panel && edit);
    EXPECT_EQ(panel->FAlign, TTestControl::alTop);
    EXPECT_EQ(panel->FAnchors, TTestControl::TAnchors(TTestControl::akLeft | TTestControl::akRight));
    EXPECT_FALSE(panel->FVisible);
    EXPECT_EQ(panel->FBig, 5000000000LL);
    EXPECT_EQ(panel->Font()->FName, QStringLiteral("Courier"));
    EXPECT_EQ(panel->Font()->FSize, 8);
    EXPECT_EQ(panel->Lines()->List(), QStringList({QStringLiteral("one"), QStringLiteral("two")}));
    ASSERT_EQ(panel->Columns()->Count(), 2);
    EXPECT_EQ(panel->Column(1)->FCaption, QStringLiteral("Name"));
    EXPECT_EQ(panel->Column(0)->FWidth, 64);
    EXPECT_EQ(panel->FocusControl(), edit);
    EXPECT_EQ(panel->FocusAtLoaded, QStringLiteral("Edit1")); // references are resolved before Loaded
    EXPECT_EQ(panel->LoadedCount, 1);
    EXPECT_EQ(panel->FValue, Variant("text"));
    EXPECT_EQ(edit->FValue, Variant(qint64(42)));
    EXPECT_EQ(panel->FOnClick.Name, QStringLiteral("Panel1Click"));
    EXPECT_EQ(panel->FData, QByteArray::fromHex("0102"));
    EXPECT_EQ(edit->GetParentComponent(), panel);
    EXPECT_EQ(edit->Owner(), form);
    EXPECT_FALSE(form->ComponentState() & (csLoading | csReading));

    EXPECT_EQ(WriteComponentText(form, TLineBreak::LF), QByteArray(FormText));
}

TEST(Filer, UnregisteredFormClassIsReadIntoItsAncestor)
{
    RegisterTestClasses();
    const QByteArray text = "object FrmMain: TFrmMain\n  Caption = 'x'\nend\n";
    EXPECT_THROW(Read(text), EClassNotFound);
    auto root = Read(text, nullptr, &TTestForm::staticMetaObject);
    ASSERT_TRUE(qobject_cast<TTestForm*>(root.get()));
    EXPECT_EQ(root->ClassName(), QStringLiteral("TFrmMain"));
    EXPECT_EQ(WriteComponentText(root.get(), TLineBreak::LF), text);
}

TEST(Filer, ReferencesAcrossFormsAndUnresolvedOnes)
{
    RegisterTestClasses();
    auto other = Read("object Form2: TTestForm\n  object Button1: TTestControl\n  end\nend\n");
    SetFindGlobalComponent([&](const QString& name) {
        return name.compare(QLatin1String("Form2"), Qt::CaseInsensitive) == 0 ? other.get() : nullptr;
    });
    TReader reader(ObjectTextToBinary("object Form1: TTestForm\n"
                                      "  object A: TTestControl\n    FocusControl = Form2.Button1\n  end\n"
                                      "  object B: TTestControl\n    FocusControl = Missing\n  end\n"
                                      "  object C: TTestTimer\n  end\n"
                                      "  object D: TTestControl\n    FocusControl = C\n  end\n"
                                      "end\n"));
    std::unique_ptr<TComponent> form(reader.ReadRootComponent());
    SetFindGlobalComponent(nullptr);
    auto* a = qobject_cast<TTestControl*>(form->FindComponent(QStringLiteral("A")));
    EXPECT_EQ(a->FocusControl(), other->FindComponent(QStringLiteral("Button1")));
    EXPECT_EQ(reader.UnresolvedReferences(),
              QStringList({QStringLiteral("Form1.B.FocusControl -> Missing"),
                           QStringLiteral("Form1.D.FocusControl -> C")})); // C is not a control
    // A reference into another form is written with that form's name; destroying the target clears it.
    EXPECT_TRUE(WriteComponentText(form.get(), TLineBreak::LF).contains("FocusControl = Form2.Button1\n"));
}

TEST(Filer, ErrorsNameTheObjectAndPropertyAndLeaveNothingBehind)
{
    RegisterTestClasses();
    const QByteArray bad = "object Form1: TTestForm\n"
                           "  object Panel1: TTestControl\n"
                           "    Bogus = 1\n"
                           "    Left = 5\n"
                           "  end\n"
                           "  object X: TUnknownThing\n"
                           "    Left = 1\n"
                           "    object Y: TTestControl\n    end\n"
                           "  end\n"
                           "  object Panel2: TTestControl\n"
                           "    Align = alSideways\n"
                           "    Top = 7\n"
                           "  end\n"
                           "end\n";
    TTestForm existing;
    try {
        Read(bad, &existing).release();
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("Error reading Form1.Panel1.Bogus: Property Bogus does not exist")))
            << e.what();
        EXPECT_GT(e.Offset, 0);
    }
    EXPECT_EQ(existing.ComponentCount(), 0);
    EXPECT_FALSE(existing.ComponentState() & csLoading);

    // A host that chooses to go on gets everything else.
    QStringList errors;
    TReader reader(ObjectTextToBinary(bad));
    reader.OnError = [&](const Exception& e) {
        errors << e.Message;
        return true;
    };
    std::unique_ptr<TComponent> form(reader.ReadRootComponent());
    ASSERT_EQ(errors.size(), 3);
    EXPECT_TRUE(errors.at(1).contains(QStringLiteral("Class TUnknownThing not found")));
    EXPECT_TRUE(errors.at(2).contains(QStringLiteral("'alSideways' is not a value of Align")));
    EXPECT_EQ(qobject_cast<TTestControl*>(form->FindComponent(QStringLiteral("Panel1")))->FLeft, 5);
    EXPECT_EQ(qobject_cast<TTestControl*>(form->FindComponent(QStringLiteral("Panel2")))->FTop, 7);
    EXPECT_EQ(form->FindComponent(QStringLiteral("Y")), nullptr);

    EXPECT_THROW(Read("object F: TTestForm\n  object A: TTestTimer\n  end\n  object a: TTestTimer\n  end\nend\n"),
                 EReadError);
    EXPECT_THROW(Read("object F: TTestForm\n  Left = 'x'\nend\n"), EReadError);
    EXPECT_THROW(Read("object F: TTestForm\n  Font.Nope.Size = 1\nend\n"), EReadError);
}

TEST(Filer, PastingAComponentRenamesWhatWouldClash)
{
    RegisterTestClasses();
    auto form = Read(FormText);
    auto* panel = form->FindComponent(QStringLiteral("Panel1"));
    TWriter writer;
    const QByteArray copied = writer.WriteComponent(panel, form.get());
    TReader reader(copied);
    reader.OnSetName = [&](TComponent*, const QString& name) {
        QString candidate = name;
        for (int n = 2; form->FindComponent(candidate); ++n)
            candidate = name + QString::number(n);
        return candidate;
    };
    auto* pasted = qobject_cast<TTestControl*>(reader.ReadComponent(form.get(), form.get()));
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->GetName(), QStringLiteral("Panel12"));
    EXPECT_EQ(pasted->FControls.value(0)->GetName(), QStringLiteral("Edit12"));
    EXPECT_EQ(pasted->FocusControl(), pasted->FControls.value(0)); // the copy's own edit
    EXPECT_EQ(pasted->GetParentComponent(), form.get());
}
#include "tst_Filer.moc"

// ---------------------------------------------------------------------------------------------
// Forms read as their users wrote them

#include "Controls.h"

namespace {

std::unique_ptr<TComponent> ReadAsWritten(const QByteArray& text, const TFormReadOptions& options = {})
{
    RegisterTestClasses();
    RegisterControlClasses();
    TFormReadOptions o = options;
    if (!o.RootClass)
        o.RootClass = &TForm::staticMetaObject;
    return std::unique_ptr<TComponent>(ReadFormAsWritten(ObjectTextToBinary(text), o));
}

QByteArray Text(TComponent* root)
{
    return WriteComponentText(root, TLineBreak::LF);
}

const char* const ThirdPartyForm = "object FrmOrders: TFrmOrders\n"
                                   "  Left = 200\n"
                                   "  Caption = 'Orders'\n"
                                   "  Color = clBtnFace\n"
                                   "  Font.Charset = DEFAULT_CHARSET\n"
                                   "  Font.Height = -11\n"
                                   "  Font.Name = 'MS Sans Serif'\n"
                                   "  Font.Style = []\n"
                                   "  OldCreateOrder = False\n"
                                   "  Menu = MmMain\n"
                                   "  FormStyle = fsMDIChild\n"
                                   "  OnCreate = FormCreate\n"
                                   "  PixelsPerInch = 96\n"
                                   "  TextHeight = 13\n"
                                   "  object PnTop: TQsPanel\n"
                                   "    Left = 0\n"
                                   "    Top = 0\n"
                                   "    Width = 320\n"
                                   "    Height = 41\n"
                                   "    Caption = 'Top'\n"
                                   "    Styles.Header.Font.Style = [fsBold]\n"
                                   "    Columns = <\n"
                                   "      item\n"
                                   "        Caption = 'Id'\n"
                                   "      end>\n"
                                   "    Glyph.Data = {0102}\n"
                                   "    object BtGo: TQsButton\n"
                                   "      Left = 8\n"
                                   "      OnClick = BtGoClick\n"
                                   "    end\n"
                                   "    object Inner: TFrame\n"
                                   "      Left = 90\n"
                                   "      Color = 15790320\n"
                                   "      Cursor = crHandPoint\n"
                                   "      BevelKind = bkFlat\n"
                                   "      Align = alRight\n"
                                   "    end\n"
                                   "  end\n"
                                   "  object MmMain: TQsMainMenu\n"
                                   "    Left = 24\n"
                                   "    Top = 96\n"
                                   "    object MiFile: TQsMenuItem\n"
                                   "      Caption = '&File'\n"
                                   "    end\n"
                                   "  end\n"
                                   "  object Timer1: TTestTimer\n"
                                   "    Enabled = False\n"
                                   "    Interval = 250\n"
                                   "    Left = 56\n"
                                   "    Top = 96\n"
                                   "  end\n"
                                   "  inherited Old: TLabel [2]\n"
                                   "    Caption = 'kept'\n"
                                   "  end\n"
                                   "end\n";

} // namespace

TEST(FormsAsWritten, UnknownClassesAndPropertiesComeBackUnchanged)
{
    auto form = ReadAsWritten(ThirdPartyForm);
    EXPECT_EQ(Text(form.get()), QByteArray(ThirdPartyForm));

    auto* panel = qobject_cast<TPlaceholderControl*>(form->FindComponent(QStringLiteral("PnTop")));
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->ClassName(), QStringLiteral("TQsPanel"));
    EXPECT_EQ(panel->GetWidth(), 320);
    EXPECT_EQ(KeptString(panel, QStringLiteral("caption")), QStringLiteral("Top"));
    QStringList kept;
    for (const auto& [name, value] : KeptProperties(panel))
        kept << name + QStringLiteral(" = ") + value;
    EXPECT_EQ(kept, QStringList({QStringLiteral("Caption = 'Top'"), QStringLiteral("Styles.Header.Font.Style = [fsBold]"),
                                 QStringLiteral("Columns = <\n    item\n      Caption = 'Id'\n    end>"),
                                 QStringLiteral("Glyph.Data = {0102}")}));
    // A control inside a control is a control even when it stores no size; menus are not.
    auto* button = qobject_cast<TControl*>(form->FindComponent(QStringLiteral("BtGo")));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->Parent(), panel);
    auto* menu = qobject_cast<TPlaceholderComponent*>(form->FindComponent(QStringLiteral("MmMain")));
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->DesignLeft(), 24);
    EXPECT_EQ(qobject_cast<TCustomForm*>(form.get())->Menu(), menu);
    EXPECT_EQ(form->FindComponent(QStringLiteral("MiFile"))->GetParentComponent(), menu);
    EXPECT_EQ(form->FindComponent(QStringLiteral("Timer1"))->DesignTop(), 96);
    auto* inner = qobject_cast<TFrame*>(form->FindComponent(QStringLiteral("Inner")));
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->FColor.Value, 15790320);
    EXPECT_EQ(inner->FCursor.Value, -21);
    EXPECT_EQ(inner->FAlign, TControl::alRight);

    // Strict reading still refuses what it does not know.
    EXPECT_THROW(Read(ThirdPartyForm, nullptr, &TForm::staticMetaObject), EReadError);

    // A registered class named in another letter case is that class, written as it was named.
    const QByteArray cased = "object F: TForm\n  object Side: tFRAME\n    Left = 4\n  end\nend\n";
    auto casedForm = ReadAsWritten(cased);
    EXPECT_TRUE(qobject_cast<TFrame*>(casedForm->FindComponent(QStringLiteral("Side"))));
    EXPECT_EQ(Text(casedForm.get()), cased);
}

TEST(FormsAsWritten, AnEditChangesOnlyItsOwnLines)
{
    auto form = ReadAsWritten(ThirdPartyForm);
    auto* root = qobject_cast<TForm*>(form.get());
    QByteArray expected(ThirdPartyForm);

    root->SetCaption(QStringLiteral("Orders 2"));
    expected.replace("Caption = 'Orders'", "Caption = 'Orders 2'");
    qobject_cast<TControl*>(form->FindComponent(QStringLiteral("BtGo")))->SetLeft(12);
    expected.replace("Left = 8\n", "Left = 12\n");
    qobject_cast<TFrame*>(form->FindComponent(QStringLiteral("Inner")))->Font()->SetStyle(TFont::fsItalic);
    expected.replace("      Align = alRight\n", "      Align = alRight\n      Font.Style = [fsItalic]\n");
    root->Font()->FColor.Value = 0xFF0000; // not in the file: it follows what is
    expected.replace("  TextHeight = 13\n", "  TextHeight = 13\n  Font.Color = clBlue\n");
    EXPECT_EQ(Text(form.get()).toStdString(), expected.toStdString());

    delete form->FindComponent(QStringLiteral("MmMain"));
    expected.replace("  Menu = MmMain\n", "");
    const qsizetype at = expected.indexOf("  object MmMain");
    expected.remove(at, expected.indexOf("  object Timer1") - at);
    EXPECT_EQ(Text(form.get()).toStdString(), expected.toStdString());

    // A component added after loading follows the others.
    auto* added = new TFrame(form.get());
    added->SetName(QStringLiteral("Added"));
    added->SetParent(root);
    const QByteArray text = Text(form.get());
    EXPECT_GT(text.indexOf("  object Added: TFrame\n"), text.indexOf("  inherited Old: TLabel [2]\n"));
    EXPECT_TRUE(text.startsWith(expected.left(expected.indexOf("  inherited Old"))));
}

TEST(FormsAsWritten, NamedIntegersReadAndWriteTheirNames)
{
    RegisterControlClasses();
    TForm form;
    form.SetName(QStringLiteral("F"));
    form.Font()->FCharset.Value = 134;
    form.Font()->FColor.Value = 0x00E0E0E0;
    form.FCursor.Value = -11;
    const QByteArray text = Text(&form);
    EXPECT_TRUE(text.contains("  Cursor = crHourGlass\n")) << text.constData();
    EXPECT_TRUE(text.contains("  Font.Charset = GB2312_CHARSET\n  Font.Color = 14737632\n"));

    auto back = ReadAsWritten("object F: TForm\n  Color = clInfoBk\n  Font.Charset = gb2312_charset\n"
                              "  Cursor = -11\n  Font.Color = clLtGray\nend\n");
    auto* read = qobject_cast<TForm*>(back.get());
    EXPECT_EQ(read->FColor.Value, qint32(0xFF000018));
    EXPECT_EQ(read->Font()->FCharset.Value, 134);
    EXPECT_EQ(read->FCursor.Value, -11);
    EXPECT_EQ(ColorToString(read->Font()->FColor.Value), QStringLiteral("clSilver"));
    EXPECT_EQ(ColorToString(0x00E0E0E0), QStringLiteral("$00E0E0E0"));
    qint32 v = 0;
    EXPECT_FALSE(IdentToColor(u"clNoSuchColour", v));
    EXPECT_THROW(Read("object F: TForm\n  Color = clNoSuchColour\nend\n"), EReadError);
}

TEST(FormsAsWritten, InheritedFormsAndFramesWriteOnlyTheirDifferences)
{
    const QByteArray base = "object FrmBase: TFrmBase\n"
                            "  Caption = 'Base'\n"
                            "  object PnButtons: TQsPanel\n"
                            "    Width = 300\n"
                            "    Caption = 'Buttons'\n"
                            "    object BtOk: TQsButton\n"
                            "      Left = 8\n"
                            "      Caption = 'OK'\n"
                            "    end\n"
                            "  end\n"
                            "  object Side: TFrame\n"
                            "    Left = 4\n"
                            "  end\n"
                            "end\n";
    const QByteArray frame = "object FrAddress: TFrAddress\n"
                             "  Width = 200\n"
                             "  object EdCity: TFrame\n"
                             "    Left = 64\n"
                             "  end\n"
                             "end\n";
    const QByteArray child = "inherited FrmChild: TFrmChild\n"
                             "  Caption = 'Child'\n"
                             "  inherited PnButtons: TQsPanel\n"
                             "    inherited BtOk: TQsButton\n"
                             "      Caption = 'Go'\n"
                             "    end\n"
                             "  end\n"
                             "  inline FrAddress1: TFrAddress\n"
                             "    Left = 8\n"
                             "    inherited EdCity: TFrame\n"
                             "      Top = 3\n"
                             "    end\n"
                             "  end\n"
                             "end\n";
    TFormReadOptions options;
    options.Ancestors << ObjectTextToBinary(base);
    options.FindFrame = [&](const QString& name) {
        return name == QLatin1String("TFrAddress") ? frame : QByteArray();
    };
    auto form = ReadAsWritten(child, options);
    EXPECT_EQ(Text(form.get()), child);
    auto* side = qobject_cast<TFrame*>(form->FindComponent(QStringLiteral("Side")));
    ASSERT_TRUE(side); // from the ancestor only
    EXPECT_EQ(side->GetLeft(), 4);
    auto* inlined = qobject_cast<TFrame*>(form->FindComponent(QStringLiteral("FrAddress1")));
    ASSERT_TRUE(inlined);
    EXPECT_EQ(inlined->ClassName(), QStringLiteral("TFrAddress"));
    EXPECT_EQ(inlined->GetWidth(), 200);
    auto* city = qobject_cast<TFrame*>(inlined->FindComponent(QStringLiteral("EdCity")));
    ASSERT_TRUE(city);
    EXPECT_EQ(city->GetLeft(), 64);
    EXPECT_EQ(city->GetTop(), 3);

    // An ancestor's component edited in the descendant is written as a difference.
    side->SetTop(9);
    QByteArray expected = child;
    expected.replace("    end\n  end\nend\n", "    end\n  end\n  inherited Side: TFrame\n    Top = 9\n  end\nend\n");
    EXPECT_EQ(Text(form.get()), expected);

    // What an ancestor's placeholder keeps shows through its descendant, and goes with a copy.
    TComponent* buttons = form->FindComponent(QStringLiteral("PnButtons"));
    EXPECT_EQ(KeptString(buttons, QStringLiteral("Caption")), QStringLiteral("Buttons"));
    EXPECT_TRUE(KeptProperties(buttons).contains({QStringLiteral("Caption"), QStringLiteral("'Buttons'")}));
    EXPECT_TRUE(ObjectBinaryToText(TWriter().WriteComponent(buttons, form.get())).contains("Caption = 'Buttons'"));

    // A copy of an inherited component pastes as a new one, with what it keeps.
    TComponent* ok = form->FindComponent(QStringLiteral("BtOk"));
    TWriter writer;
    TReader reader(writer.WriteComponent(ok, form.get()));
    reader.KeepAsWritten = true;
    reader.OnSetName = [](TComponent*, const QString&) { return QStringLiteral("BtOk2"); };
    TComponent* pasted = reader.ReadComponent(form.get(), form.get());
    ASSERT_NE(pasted, ok);
    EXPECT_EQ(pasted->ClassName(), QStringLiteral("TQsButton"));
    EXPECT_EQ(KeptString(pasted, QStringLiteral("Caption")), QStringLiteral("Go"));
    delete pasted;

    // Without its ancestor the form still opens, and loses nothing.
    auto alone = ReadAsWritten(child);
    EXPECT_EQ(Text(alone.get()), child);
    EXPECT_TRUE(IsPlaceholder(alone->FindComponent(QStringLiteral("BtOk"))));
}

TEST(FormsAsWritten, BrokenStreamsStillFailWithTheirOffset)
{
    QByteArray binary = ObjectTextToBinary(ThirdPartyForm);
    binary.chop(20);
    TFormReadOptions options;
    options.RootClass = &TForm::staticMetaObject;
    try {
        delete ReadFormAsWritten(binary, options);
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_GT(e.Offset, 0);
    }

    // Frames placed inside themselves, here through one another, would be read until the stack
    // runs out: refused where the first is placed.
    const QByteArray text = "object F: TForm\n  inline FrA1: TFrA\n  end\nend\n";
    options.FindFrame = [](const QString& name) {
        return name == QLatin1String("TFrA") ? QByteArray("object FrA: TFrA\n  inline FrB1: TFrB\n  end\nend\n")
                                             : QByteArray("object FrB: TFrB\n  inline FrA2: TFrA\n  end\nend\n");
    };
    const QByteArray looped = ObjectTextToBinary(text);
    try {
        delete ReadFormAsWritten(looped, options);
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Offset, looped.indexOf("\x04TFrA") - 1); // the inline flag before the class name
        EXPECT_TRUE(e.Reason.contains(QLatin1String("Frame TFrA is placed inside itself"))) << e.Reason.toStdString();
    }
}

TEST(FormsAsWritten, AControlInsideANonVisualComponentIsRefusedRatherThanMoved)
{
    // Registered or not, a control has no parent in an action list: the next save would write it
    // under the form.
    for (const char* control : {"inline FrAddress: TFrAddress", "object Inner: TFrame"}) {
        const QByteArray text = QByteArray("object F: TForm\n"
                                           "  object Actions: TActionList\n"
                                           "    object ActCopy: TAction\n"
                                           "    end\n    ")
            + control + "\n      Left = 8\n    end\n  end\nend\n";
        try {
            ReadAsWritten(text);
            ADD_FAILURE() << control;
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Message.contains(QLatin1String("cannot be placed in Actions"))) << e.Message.toStdString();
            const bool inlined = QByteArray(control).startsWith("inline");
            const qsizetype header = ObjectTextToBinary(text).indexOf(inlined ? "\x0ATFrAddress" : "\x06TFrame");
            EXPECT_EQ(e.Offset, inlined ? header - 1 : header); // an inline frame's header starts with its flags
        }
    }
    // Where the writer finds them where they were read, they stay: a control in a frame's control,
    // a non-visual component inside an inline frame, items under their menu.
    const QByteArray fine = "object F: TForm\n"
                            "  inline Fr: TFrAddress\n"
                            "    object Pn: TQsPanel\n"
                            "      object Inner: TFrame\n"
                            "      end\n"
                            "    end\n"
                            "    object Tm: TTestTimer\n"
                            "    end\n"
                            "  end\n"
                            "  object Mm: TQsMainMenu\n"
                            "    object MiFile: TQsMenuItem\n"
                            "    end\n"
                            "  end\n"
                            "end\n";
    EXPECT_EQ(Text(ReadAsWritten(fine).get()), fine);
}

TEST(FormsAsWritten, NamesTheTextFormatCannotHoldAreRefusedWithTheirOffset)
{
    RegisterControlClasses();
    const QByteArray good = ObjectTextToBinary("object F: TForm\n"
                                               "  object Pn: TQsPanel\n"
                                               "    Caption = 'x'\n"
                                               "  end\n"
                                               "end\n");
    // Same length, so that the stream stays well formed: only the name is wrong.
    for (const auto& [from, to, reason] : {std::tuple{"TQsPanel", "TQs-anel", "Invalid class name"},
                                           std::tuple{"\x02Pn", "\x02P ", "Invalid object name"},
                                           std::tuple{"Caption", "Cap(ion", "Invalid property name"},
                                           std::tuple{"TForm", "1Form", "Invalid class name"}}) {
        QByteArray bad = good;
        const qsizetype at = bad.indexOf(from);
        bad.replace(at, qsizetype(strlen(from)), to);
        TFormReadOptions options;
        options.RootClass = &TForm::staticMetaObject;
        try {
            delete ReadFormAsWritten(bad, options);
            ADD_FAILURE() << to;
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Message.contains(QLatin1String(reason))) << e.Message.toStdString();
            EXPECT_GT(e.Offset, 0);
            EXPECT_LE(e.Offset, at);
        }
        EXPECT_THROW(ObjectBinaryToText(bad), EReadError); // the converter agrees
    }
}

TEST(FormsAsWritten, AFormSizedInTheDesignerKeepsItsClientSizeInStep)
{
    const QByteArray text = "object F: TForm\n"
                            "  Caption = 'Sized'\n"
                            "  ClientHeight = 441\n"
                            "  ClientWidth = 624\n"
                            "end\n";
    auto form = ReadAsWritten(text);
    auto* root = qobject_cast<TForm*>(form.get());
    root->SetBounds(0, 0, 700, 400);
    EXPECT_EQ(root->GetClientWidth(), 700);
    EXPECT_EQ(root->GetClientHeight(), 400);
    QByteArray expected = text;
    expected.replace("441", "400").replace("624", "700");
    EXPECT_EQ(Text(form.get()), expected); // the outer size is not written beside it

    // A form that gives its outer size keeps doing so.
    auto old = ReadAsWritten("object F: TForm\n  Width = 640\n  Height = 480\nend\n");
    qobject_cast<TForm*>(old.get())->SetWidth(600);
    EXPECT_EQ(Text(old.get()), QByteArray("object F: TForm\n  Width = 600\n  Height = 480\nend\n"));

    // Both sizes written: both come back as written while other values change.
    const QByteArray both = "object F: TForm\n  Width = 640\n  Height = 480\n  Caption = 'Both'\n"
                            "  ClientHeight = 441\n  ClientWidth = 624\nend\n";
    auto twice = ReadAsWritten(both);
    EXPECT_EQ(Text(twice.get()), both);
    qobject_cast<TForm*>(twice.get())->SetCaption(QStringLiteral("Edited"));
    expected = both;
    EXPECT_EQ(Text(twice.get()), expected.replace("'Both'", "'Edited'"));
}

// What an inline frame owns without a parent (a timer) is its child as much as its controls are:
// written back when the descendant mentions it, and written as a difference once moved.
TEST(FormsAsWritten, AFramesNonVisualComponentsAreWrittenUnderTheFrame)
{
    const QByteArray frame = "object FrAddress: TFrAddress\n"
                             "  Width = 200\n"
                             "  object Tmr: TTimer\n"
                             "    Interval = 500\n"
                             "    Left = 16\n"
                             "    Top = 8\n"
                             "  end\n"
                             "end\n";
    const QByteArray text = "object F: TForm\n"
                            "  inline FrAddress1: TFrAddress\n"
                            "    Left = 8\n"
                            "  end\n"
                            "  inline FrAddress2: TFrAddress\n"
                            "    inherited Tmr: TTimer\n"
                            "      Interval = 1000\n"
                            "    end\n"
                            "  end\n"
                            "end\n";
    TFormReadOptions options;
    options.FindFrame = [&](const QString& name) { return name == QLatin1String("TFrAddress") ? frame : QByteArray(); };
    auto form = ReadAsWritten(text, options);
    EXPECT_EQ(Text(form.get()), text);
    TComponent* timer = form->FindComponent(QStringLiteral("FrAddress1"))->FindComponent(QStringLiteral("Tmr"));
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->DesignLeft(), 16);
    timer->SetDesignPos(40, 8);
    QByteArray expected = text;
    expected.replace("    Left = 8\n  end\n", "    Left = 8\n    inherited Tmr: TTimer\n      Left = 40\n    end\n  end\n");
    EXPECT_EQ(Text(form.get()), expected);
}

// Component names beyond ASCII are names, as the form format and the unit source have them.
TEST(FormsAsWritten, NamesBeyondAsciiLoadAndRename)
{
    const QByteArray text = "object F: TForm\n"
                            "  object \xC3\x9C" "bersicht: TQsPanel\n"
                            "    Left = 8\n"
                            "  end\n"
                            "end\n";
    auto form = ReadAsWritten(text);
    TComponent* panel = form->FindComponent(QString::fromUtf8("\xC3\xBC" "BERSICHT"));
    ASSERT_TRUE(panel);
    EXPECT_EQ(Text(form.get()), text);
    panel->SetName(QString::fromUtf8("\xE9\x9D\xA2\xE6\x9D\xBF" "2"));
    EXPECT_TRUE(Text(form.get()).contains("object \xE9\x9D\xA2\xE6\x9D\xBF" "2: TQsPanel"));
    for (const char* bad : {"2Panel", "Pa nel", "Pa-nel", "\xE2\x82\xAC" "uro", ""})
        EXPECT_FALSE(TComponent::IsValidIdent(QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(TComponent::IsValidIdent(QStringLiteral("_x1")));
}

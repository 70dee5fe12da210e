#pragma once

#include "KvCollections.h"
#include "KvControls.h"

#include <QByteArray>

// The "Kv Standard" controls, the form and frame controllers, and the custom bases the data
// controls share with them.

// What a form or frame keeps for the library: its variables package and its data sources.
class TKvCustomCForm : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(QString PkgVars READ PkgVars WRITE SetPkgVars)
    Q_PROPERTY(TKvCollection* DataSources READ DataSources)
    Q_PROPERTY(TKvSetColor* SetColor READ SetColor)
    Q_PROPERTY(TKvSetFont* SetFont READ SetFont)
    Q_PROPERTY(TKvSetBackGround* SetBackGround READ SetBackGround)
    Q_PROPERTY(TKvPrivilege* Privilege READ Privilege)

public:
    Q_INVOKABLE explicit TKvCustomCForm(TComponent* AOwner = nullptr);
    ~TKvCustomCForm() override;

    // The name of a variables package.
    QString PkgVars() const { return FPkgVars; }
    void SetPkgVars(const QString& Value) { FPkgVars = Value; }
    TKvCollection* DataSources() const { return FDataSources; }
    TKvSetColor* SetColor() const { return FSetColor; }
    TKvSetFont* SetFont() const { return FSetFont; }
    TKvSetBackGround* SetBackGround() const { return FSetBackGround; }
    TKvPrivilege* Privilege() const { return FPrivilege; }

private:
    QString FPkgVars;
    TKvDataSources* FDataSources;
    TKvSetColor* FSetColor;
    TKvSetFont* FSetFont;
    TKvSetBackGround* FSetBackGround;
    TKvPrivilege* FPrivilege;
};

// Placed on a form: its caption from a label, and the buttons that confirm and cancel it.
class TKvCForm : public TKvCustomCForm
{
    Q_OBJECT
    Q_PROPERTY(TKvMemoryLabel* MemoryLabel READ MemoryLabel)
    Q_PROPERTY(TControl* BtnOk READ BtnOk WRITE SetBtnOk)
    Q_PROPERTY(TControl* BtnCancel READ BtnCancel WRITE SetBtnCancel)

public:
    Q_INVOKABLE explicit TKvCForm(TComponent* AOwner = nullptr);

    TKvMemoryLabel* MemoryLabel() const { return FMemoryLabel; }
    TControl* BtnOk() const { return FBtnOk.Get(); }
    void SetBtnOk(TControl* Value) { FBtnOk.Set(this, Value); }
    TControl* BtnCancel() const { return FBtnCancel.Get(); }
    void SetBtnCancel(TControl* Value) { FBtnCancel.Set(this, Value); }

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TKvMemoryLabel* FMemoryLabel;
    TKvComponentRef<TControl> FBtnOk;
    TKvComponentRef<TControl> FBtnCancel;
};

class TKvCFrame : public TKvCustomCForm
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvCFrame(TComponent* AOwner = nullptr);
};

// ---------------------------------------------------------------------------------------------

class TKvCustomLabel : public TKvGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(TKvMultiLine Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(Variant Value READ GetValue WRITE SetValue)
    Q_PROPERTY(KvTypes::TKvDataType DataType READ GetDataType WRITE SetDataType)
    Q_PROPERTY(KvTypes::TKvAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    Q_INVOKABLE explicit TKvCustomLabel(TComponent* AOwner = nullptr);

    TKvMultiLine Caption() const { return FCaption; }
    void SetCaption(const TKvMultiLine& Value) { FCaption = Value; }
    // The shown text: the value when the label has one, else its caption.
    QString DisplayText() const;
    Variant GetValue() const { return FValue; }
    void SetValue(const Variant& Value) { FValue = Value; }
    TKvDataType GetDataType() const { return FDataType; }
    void SetDataType(TKvDataType Value) { FDataType = Value; }
    KvTypes::TKvAlignment Alignment() const { return FAlignment; }
    void SetAlignment(KvTypes::TKvAlignment Value) { FAlignment = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }

private:
    TKvMultiLine FCaption;
    Variant FValue;
    TKvDataType FDataType = KvTypes::dtString;
    KvTypes::TKvAlignment FAlignment = KvTypes::taLeftJustify;
    bool FAutoSize = true;
    bool FWordWrap = false;
};

class TKvLabel : public TKvCustomLabel
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvLabel(TComponent* AOwner = nullptr);
};

// An edit formats its value by its mask; the control's data type is the mask's.
class TKvCustomEdit : public TKvCustomValueControl
{
    Q_OBJECT
    Q_PROPERTY(TKvMask* Mask READ Mask)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)

public:
    Q_INVOKABLE explicit TKvCustomEdit(TComponent* AOwner = nullptr);

    TKvMask* Mask() const { return FMask; }
    TKvDataType GetDataType() const override { return FMask->DataType(); }
    void SetDataType(TKvDataType Value) override { FMask->SetDataType(Value); }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value) { FMaxLength = qMax(0, Value); }

private:
    TKvMask* FMask;
    int FMaxLength = 0;
};

class TKvEdit : public TKvCustomEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvEdit(TComponent* AOwner = nullptr);
};

// An edit with a drop-down list.
class TKvCustomComboEdit : public TKvCustomEdit
{
    Q_OBJECT
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)

public:
    Q_INVOKABLE explicit TKvCustomComboEdit(TComponent* AOwner = nullptr);

    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = qMax(1, Value); }

private:
    int FDropDownCount = 8;
};

// A combo box whose entries are designed: each a value and its caption.
class TKvCustomComboBox : public TKvCustomComboEdit
{
    Q_OBJECT
    Q_PROPERTY(TKvCollection* Items READ Items)

public:
    Q_INVOKABLE explicit TKvCustomComboBox(TComponent* AOwner = nullptr);
    ~TKvCustomComboBox() override;

    TKvListItems* Items() const { return FItems; }
    int ItemIndex() const { return FItems->IndexOfValue(GetValue()); }

private:
    TKvListItems* FItems;
};

class TKvComboBox : public TKvCustomComboBox
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvComboBox(TComponent* AOwner = nullptr);
};

class TKvCustomListBox : public TKvCustomValueControl
{
    Q_OBJECT
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)

public:
    Q_INVOKABLE explicit TKvCustomListBox(TComponent* AOwner = nullptr);

    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { FItemHeight = qMax(1, Value); }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value) { FSorted = Value; }

private:
    int FItemHeight = 16;
    bool FSorted = false;
};

// A list box whose entries are designed.
class TKvCustomItemListBox : public TKvCustomListBox
{
    Q_OBJECT
    Q_PROPERTY(TKvCollection* Items READ Items)

public:
    Q_INVOKABLE explicit TKvCustomItemListBox(TComponent* AOwner = nullptr);
    ~TKvCustomItemListBox() override;

    TKvListItems* Items() const { return FItems; }
    int ItemIndex() const { return FItems->IndexOfValue(GetValue()); }

private:
    TKvListItems* FItems;
};

class TKvListBox : public TKvCustomItemListBox
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvListBox(TComponent* AOwner = nullptr);
};

class TKvCustomMemo : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(TStrings* Lines READ Lines)
    // A text of a strings package that fills the lines when the form runs.
    Q_PROPERTY(TKvMemoryText* MemoryText READ MemoryText)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)

public:
    Q_INVOKABLE explicit TKvCustomMemo(TComponent* AOwner = nullptr);

    TStrings* Lines() const { return FLines; }
    TKvMemoryText* MemoryText() const { return FMemoryText; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value) { FMaxLength = qMax(0, Value); }

private:
    TStrings* FLines;
    TKvMemoryText* FMemoryText;
    bool FReadOnly = false;
    bool FWordWrap = true;
    int FMaxLength = 0;
};

class TKvMemo : public TKvCustomMemo
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvMemo(TComponent* AOwner = nullptr);
};

// Lines hold the formatted document (rich text markup) unless PlainText is set.
class TKvCustomRichEdit : public TKvCustomMemo
{
    Q_OBJECT
    Q_PROPERTY(bool PlainText READ PlainText WRITE SetPlainText)

public:
    Q_INVOKABLE explicit TKvCustomRichEdit(TComponent* AOwner = nullptr);

    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool Value) { FPlainText = Value; }

private:
    bool FPlainText = false;
};

class TKvRichEdit : public TKvCustomRichEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvRichEdit(TComponent* AOwner = nullptr);
};

// A picture stored in the form (its file bytes; GraphicClass names their format, "PNG") or
// taken from an images package.
class TKvCustomImage : public TKvGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(QString GraphicClass READ GraphicClass WRITE SetGraphicClass)
    Q_PROPERTY(QByteArray Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)

public:
    Q_INVOKABLE explicit TKvCustomImage(TComponent* AOwner = nullptr);

    QString GraphicClass() const { return FGraphicClass; }
    void SetGraphicClass(const QString& Value) { FGraphicClass = Value; }
    QByteArray Picture() const { return FPicture; }
    void SetPicture(const QByteArray& Value) { FPicture = Value; }
    // Reads a picture file: its bytes and its format. EFilerError names a file that cannot be read.
    void LoadPicture(const QString& FileName);
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value) { FStretch = Value; }
    bool Center() const { return FCenter; }
    void SetCenter(bool Value) { FCenter = Value; }

private:
    QString FGraphicClass;
    QByteArray FPicture;
    TKvMemoryImage* FMemoryImage;
    bool FStretch = false;
    bool FCenter = false;
};

class TKvImage : public TKvCustomImage
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvImage(TComponent* AOwner = nullptr);
};

// An image that takes the focus and shows a second image while it has it.
class TKvCustomFocusImage : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString GraphicClass READ GraphicClass WRITE SetGraphicClass)
    Q_PROPERTY(QByteArray Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)
    Q_PROPERTY(TKvMemoryImage* MemoryImageFocus READ MemoryImageFocus)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)

public:
    Q_INVOKABLE explicit TKvCustomFocusImage(TComponent* AOwner = nullptr);

    QString GraphicClass() const { return FGraphicClass; }
    void SetGraphicClass(const QString& Value) { FGraphicClass = Value; }
    QByteArray Picture() const { return FPicture; }
    void SetPicture(const QByteArray& Value) { FPicture = Value; }
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    TKvMemoryImage* MemoryImageFocus() const { return FMemoryImageFocus; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value) { FStretch = Value; }

private:
    QString FGraphicClass;
    QByteArray FPicture;
    TKvMemoryImage* FMemoryImage;
    TKvMemoryImage* FMemoryImageFocus;
    bool FStretch = false;
};

class TKvFocusImage : public TKvCustomFocusImage
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvFocusImage(TComponent* AOwner = nullptr);
};

// Checked when Value equals ValueChecked.
class TKvCustomCheckBox : public TKvCustomValueControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(Variant ValueChecked READ ValueChecked WRITE SetValueChecked)
    Q_PROPERTY(Variant ValueUnchecked READ ValueUnchecked WRITE SetValueUnchecked)
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)

public:
    Q_INVOKABLE explicit TKvCustomCheckBox(TComponent* AOwner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    Variant ValueChecked() const { return FValueChecked; }
    void SetValueChecked(const Variant& Value) { FValueChecked = Value; }
    Variant ValueUnchecked() const { return FValueUnchecked; }
    void SetValueUnchecked(const Variant& Value) { FValueUnchecked = Value; }
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    bool Checked() const { return GetValue() == FValueChecked; }
    void SetChecked(bool Value) { SetValue(Value ? FValueChecked : FValueUnchecked); }

private:
    QString FCaption;
    Variant FValueChecked;
    Variant FValueUnchecked;
    bool FAllowGrayed = false;
};

class TKvCheckBox : public TKvCustomCheckBox
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvCheckBox(TComponent* AOwner = nullptr);
};

// Checked when Value equals ValueChecked; the buttons of one parent share a value.
class TKvRadioButton : public TKvCustomValueControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(Variant ValueChecked READ ValueChecked WRITE SetValueChecked)

public:
    Q_INVOKABLE explicit TKvRadioButton(TComponent* AOwner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    Variant ValueChecked() const { return FValueChecked; }
    void SetValueChecked(const Variant& Value) { FValueChecked = Value; }
    bool Checked() const { return GetValue() == FValueChecked; }

private:
    QString FCaption;
    Variant FValueChecked;
};

class TKvGroupBox : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    Q_INVOKABLE explicit TKvGroupBox(TComponent* AOwner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }

private:
    QString FCaption;
};

// The checked entry is the one whose value is the group's Value.
class TKvCustomRadioGroup : public TKvCustomValueControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TKvCollection* Items READ Items)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)

public:
    Q_INVOKABLE explicit TKvCustomRadioGroup(TComponent* AOwner = nullptr);
    ~TKvCustomRadioGroup() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    TKvListItems* Items() const { return FItems; }
    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = qBound(1, Value, 16); }
    int ItemIndex() const { return FItems->IndexOfValue(GetValue()); }

private:
    QString FCaption;
    TKvListItems* FItems;
    int FColumns = 1;
};

class TKvRadioGroup : public TKvCustomRadioGroup
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvRadioGroup(TComponent* AOwner = nullptr);
};

class TKvPanel : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(KvTypes::TKvAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)

public:
    Q_INVOKABLE explicit TKvPanel(TComponent* AOwner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    KvTypes::TKvAlignment Alignment() const { return FAlignment; }
    void SetAlignment(KvTypes::TKvAlignment Value) { FAlignment = Value; }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value) { FBevelWidth = qMax(0, Value); }

private:
    QString FCaption;
    KvTypes::TKvAlignment FAlignment = KvTypes::taCenter;
    int FBevelWidth = 1;
};

// Ranges of 0 scroll to fit the contents.
class TKvScrollBox : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(int HorzRange READ HorzRange WRITE SetHorzRange)
    Q_PROPERTY(int VertRange READ VertRange WRITE SetVertRange)

public:
    Q_INVOKABLE explicit TKvScrollBox(TComponent* AOwner = nullptr);

    int HorzRange() const { return FHorzRange; }
    void SetHorzRange(int Value) { FHorzRange = qMax(0, Value); }
    int VertRange() const { return FVertRange; }
    void SetVertRange(int Value) { FVertRange = qMax(0, Value); }

private:
    int FHorzRange = 0;
    int FVertRange = 0;
};

class TKvCustomPageControl;
class TKvTabControl;

// A page of a page control; the control's tabs show it by its page id.
class TKvTabSheet : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int PageId READ PageId WRITE SetPageId)

public:
    Q_INVOKABLE explicit TKvTabSheet(TComponent* AOwner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    // 0 until the sheet joins a page control; unique among the sheets of one control.
    int PageId() const { return FPageId; }
    void SetPageId(int Value);
    TKvCustomPageControl* PageControl() const;
    // The tab that shows this sheet, or none.
    TKvTabControl* GetTab() const;

private:
    QString FCaption;
    int FPageId = 0;
};

// Tabs (a collection) select the page shown; Value is the value of the selected tab.
class TKvCustomPageControl : public TKvCustomValueControl
{
    Q_OBJECT
    Q_PROPERTY(TKvCollection* Tabs READ Tabs)
    Q_PROPERTY(int TabHeight READ TabHeight WRITE SetTabHeight)

public:
    Q_INVOKABLE explicit TKvCustomPageControl(TComponent* AOwner = nullptr);
    ~TKvCustomPageControl() override;

    TKvTabsControl* Tabs() const { return FTabs; }
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value) { FTabHeight = qMax(0, Value); }

    QList<TKvTabSheet*> TabSheets() const;
    TKvTabSheet* FindPageId(int PageId) const;
    // A page id no sheet of this control carries.
    int NewPageId() const;
    // A new sheet owned by this control's owner, named uniquely there, with a new page id.
    TKvTabSheet* CreateTabSheet();
    // The tab whose value is Value, and the sheet it shows.
    TKvTabControl* ActiveTab() const;
    TKvTabSheet* ActivePage() const;

    // Sheets read without a page id get one.
    void Loaded() override;

private:
    TKvTabsControl* FTabs;
    int FTabHeight = 0;
};

class TKvPageControl : public TKvCustomPageControl
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvPageControl(TComponent* AOwner = nullptr);
};

class TKvCustomButton : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)
    // A message of a strings package asked for confirmation before the button acts.
    Q_PROPERTY(TKvMemoryMessage* MemoryMessage READ MemoryMessage)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)

public:
    Q_INVOKABLE explicit TKvCustomButton(TComponent* AOwner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    TKvMemoryMessage* MemoryMessage() const { return FMemoryMessage; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }

private:
    QString FCaption;
    TModalResult FModalResult = mrNone;
    TKvMemoryImage* FMemoryImage;
    TKvMemoryMessage* FMemoryMessage;
    bool FDefault = false;
    bool FCancel = false;
};

class TKvBitBtn : public TKvCustomButton
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvBitBtn(TComponent* AOwner = nullptr);
};

// Buttons of one parent with the same GroupIndex (above 0) stay down one at a time.
class TKvCustomSpeedButton : public TKvGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)

public:
    Q_INVOKABLE explicit TKvCustomSpeedButton(TComponent* AOwner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = qMax(0, Value); }
    bool Down() const { return FDown; }
    // Going down releases the other buttons of the group; outside a group a button stays up.
    void SetDown(bool Value);

private:
    QString FCaption;
    TModalResult FModalResult = mrNone;
    TKvMemoryImage* FMemoryImage;
    bool FFlat = true;
    int FGroupIndex = 0;
    bool FDown = false;
};

class TKvSpeedButton : public TKvCustomSpeedButton
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvSpeedButton(TComponent* AOwner = nullptr);
};

// An image of an images package.
class TKvCustomPkgImage : public TKvGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)

public:
    Q_INVOKABLE explicit TKvCustomPkgImage(TComponent* AOwner = nullptr);

    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value) { FStretch = Value; }
    bool Center() const { return FCenter; }
    void SetCenter(bool Value) { FCenter = Value; }

private:
    TKvMemoryImage* FMemoryImage;
    bool FStretch = false;
    bool FCenter = true;
};

class TKvPkgImage : public TKvCustomPkgImage
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvPkgImage(TComponent* AOwner = nullptr);
};

class TKvShape : public TKvGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(TKvPen* Pen READ Pen)
    Q_PROPERTY(KvTypes::TKvShapeType Shape READ Shape WRITE SetShape)
    Q_PROPERTY(int BrushColor READ BrushColor WRITE SetBrushColor)

public:
    Q_INVOKABLE explicit TKvShape(TComponent* AOwner = nullptr);

    TKvPen* Pen() const { return FPen; }
    KvTypes::TKvShapeType Shape() const { return FShape; }
    void SetShape(KvTypes::TKvShapeType Value) { FShape = Value; }
    int BrushColor() const { return FBrushColor; }
    void SetBrushColor(int Value) { FBrushColor = Value; }

private:
    TKvPen* FPen;
    KvTypes::TKvShapeType FShape = KvTypes::stRectangle;
    int FBrushColor = 0xFFFFFF;
};

// Steps the integer of the associated control.
class TKvUpDown : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(TWinControl* Associate READ Associate WRITE SetAssociate)
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(KvTypes::TKvOrientation Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(bool Wrap READ Wrap WRITE SetWrap)

public:
    Q_INVOKABLE explicit TKvUpDown(TComponent* AOwner = nullptr);

    TWinControl* Associate() const { return FAssociate.Get(); }
    // Not the up-down itself.
    void SetAssociate(TWinControl* Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    // Kept within Min..Max once the control is loaded.
    void SetPosition(int Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    KvTypes::TKvOrientation Orientation() const { return FOrientation; }
    void SetOrientation(KvTypes::TKvOrientation Value) { FOrientation = Value; }
    bool Wrap() const { return FWrap; }
    void SetWrap(bool Value) { FWrap = Value; }

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

private:
    TKvComponentRef<TWinControl> FAssociate;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FIncrement = 1;
    KvTypes::TKvOrientation FOrientation = KvTypes::orVertical;
    bool FWrap = false;
};

// An up-down over values of any data type: numbers, dates or texts.
class TKvUpDownEx : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(Variant Min READ GetMin WRITE SetMin)
    Q_PROPERTY(Variant Max READ GetMax WRITE SetMax)
    Q_PROPERTY(Variant Position READ GetPosition WRITE SetPosition)
    Q_PROPERTY(Variant Increment READ GetIncrement WRITE SetIncrement)
    Q_PROPERTY(KvTypes::TKvDataType DataType READ GetDataType WRITE SetDataType)
    Q_PROPERTY(bool Wrap READ Wrap WRITE SetWrap)

public:
    Q_INVOKABLE explicit TKvUpDownEx(TComponent* AOwner = nullptr);

    Variant GetMin() const { return FMin; }
    void SetMin(const Variant& Value) { FMin = Value; }
    Variant GetMax() const { return FMax; }
    void SetMax(const Variant& Value) { FMax = Value; }
    Variant GetPosition() const { return FPosition; }
    // A numeric or date position outside Min..Max is brought within it once the control is
    // loaded; null, texts and unset bounds are stored as they are.
    void SetPosition(const Variant& Value);
    Variant GetIncrement() const { return FIncrement; }
    void SetIncrement(const Variant& Value) { FIncrement = Value; }
    TKvDataType GetDataType() const { return FDataType; }
    void SetDataType(TKvDataType Value) { FDataType = Value; }
    bool Wrap() const { return FWrap; }
    void SetWrap(bool Value) { FWrap = Value; }

    // One increment up (or down), wrapping or stopping at the bounds.
    void Step(bool Up);
    void Loaded() override;

private:
    Variant Bounded(const Variant& Value) const;

    Variant FMin;
    Variant FMax;
    Variant FPosition;
    Variant FIncrement;
    TKvDataType FDataType = KvTypes::dtInteger;
    bool FWrap = false;
};

// The buttons an edit shows at its right (calendar, calculator, search).
class TKvEditBtns : public TKvGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(int ButtonWidth READ ButtonWidth WRITE SetButtonWidth)
    Q_PROPERTY(int Count READ Count WRITE SetCount)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)

public:
    Q_INVOKABLE explicit TKvEditBtns(TComponent* AOwner = nullptr);

    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    int Count() const { return FCount; }
    void SetCount(int Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }

private:
    int FButtonWidth = 17;
    int FCount = 1;
    bool FFlat = true;
    TKvMemoryImage* FMemoryImage;
};

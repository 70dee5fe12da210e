#include "KvEdCtrls.h"

#include "SysUtils.h"

TKvLBSetsColor::TKvLBSetsColor(TComponent* AOwner) : TKvCustomListBox(AOwner)
{
    SetDataType(KvTypes::dtString);
}

TKvCBSetsColor::TKvCBSetsColor(TComponent* AOwner) : TKvCustomComboEdit(AOwner)
{
    SetDataType(KvTypes::dtString);
}

TKvLBSetsBackGround::TKvLBSetsBackGround(TComponent* AOwner) : TKvCustomListBox(AOwner)
{
    SetDataType(KvTypes::dtString);
}

TKvCBSetsBackGround::TKvCBSetsBackGround(TComponent* AOwner) : TKvCustomComboEdit(AOwner)
{
    SetDataType(KvTypes::dtString);
}

TKvLBSetsFont::TKvLBSetsFont(TComponent* AOwner) : TKvCustomListBox(AOwner)
{
    SetDataType(KvTypes::dtString);
}

TKvCBSetsFont::TKvCBSetsFont(TComponent* AOwner) : TKvCustomComboEdit(AOwner)
{
    SetDataType(KvTypes::dtString);
}

TKvLBPkgImages::TKvLBPkgImages(TComponent* AOwner) : TKvCustomListBox(AOwner)
{
    SetDataType(KvTypes::dtInteger);
}

TKvCBPkgImages::TKvCBPkgImages(TComponent* AOwner) : TKvCustomComboEdit(AOwner)
{
    SetDataType(KvTypes::dtInteger);
}

TKvLBColors::TKvLBColors(TComponent* AOwner) : TKvCustomListBox(AOwner)
{
    SetDataType(KvTypes::dtInteger);
}

TKvCBColors::TKvCBColors(TComponent* AOwner) : TKvCustomComboEdit(AOwner)
{
    SetDataType(KvTypes::dtInteger);
}

TKvCBPrinters::TKvCBPrinters(TComponent* AOwner) : TKvCustomComboEdit(AOwner)
{
    SetDataType(KvTypes::dtString);
}

TKvPkgImagesAdd::TKvPkgImagesAdd(TComponent* AOwner) : TComponent(AOwner), FMemoryLabel(new TKvMemoryLabel(this)) {}

TKvPkgImagesDesignRgn::TKvPkgImagesDesignRgn(TComponent* AOwner)
    : TComponent(AOwner), FMemoryImage(new TKvMemoryImage(this)), FMemoryLabel(new TKvMemoryLabel(this))
{
}

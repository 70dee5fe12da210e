#include "KvVtKeys.h"
#include "ui_KvVtKeys.h"

#include "KvShortCuts.h"
#include "setup/KvSetupSettings.h"

TFrKeys::TFrKeys(QWidget* Parent) : TKvKeptBoundsDialog(Parent), FUi(std::make_unique<Ui::TFrKeys>())
{
    FUi->setupUi(this);
    FUi->CBDeleteType->addItems(KvDeleteTypeNames());
    const QStringList PickList = KvShortCutPickList();
    for (const TKvShortCutBox& Box : KvShortCutBoxes()) {
        auto* Combo = findChild<QComboBox*>(QLatin1String(Box.Control));
        Q_ASSERT(Combo);
        Combo->addItems(PickList);
        const TKvSetupShortCut Key = Box.Key;
        connect(Combo, &QComboBox::editTextChanged, this, [this, Key](const QString& Text) {
            Store([this, Key, Text] { KvSetShortCutText(PkgSetup, Key, Text); });
        });
    }
    connect(FUi->CBInsertMode, &QCheckBox::clicked, this, [this](bool On) {
        Store([this, On] {
            TKvPkgSetupKeys Keys = PkgSetup->Keys();
            Keys.InsertMode = On;
            PkgSetup->SetKeys(Keys);
        });
    });
    connect(FUi->CBActionEnter, &QCheckBox::clicked, this, [this](bool On) {
        Store([this, On] {
            TKvPkgSetupKeys Keys = PkgSetup->Keys();
            Keys.ActionEnter = On;
            PkgSetup->SetKeys(Keys);
        });
    });
    connect(FUi->CBDeleteType, &QComboBox::currentIndexChanged, this, [this](int Index) {
        Store([this, Index] {
            TKvPkgSetupKeys Keys = PkgSetup->Keys();
            Keys.DeleteType = Index;
            PkgSetup->SetKeys(Keys);
        });
    });
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
}

TFrKeys::~TFrKeys() = default;

void TFrKeys::Store(const std::function<void()>& Change)
{
    if (FFilling || !PkgSetup)
        return;
    try {
        Change();
    } catch (const Exception& E) {
        KvShowError(E);
    }
}

void TFrKeys::Execute()
{
    if (!PkgSetup)
        return;
    FFilling = true;
    const TKvPkgSetupKeys& Keys = PkgSetup->Keys();
    FUi->CBDeleteType->setCurrentIndex(Keys.DeleteType);
    FUi->CBInsertMode->setChecked(Keys.InsertMode);
    FUi->CBActionEnter->setChecked(Keys.ActionEnter);
    for (const TKvShortCutBox& Box : KvShortCutBoxes())
        findChild<QComboBox*>(QLatin1String(Box.Control))->setEditText(ShortCutToText(PkgSetup->ShortCut(Box.Key)));
    FFilling = false;
    exec();
}

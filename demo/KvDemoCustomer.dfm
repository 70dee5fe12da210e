object FrDemoCustomer: TFrDemoCustomer
  Left = 240
  Top = 160
  Width = 520
  Height = 400
  Caption = 'Customer'
  object PmCustomer: TKvPopupMenu
    object MiCopy: TKvMenuItem
      Caption = '&Copy'
    end
  end
  object GbCustomer: TKvGroupBox
    Left = 12
    Top = 12
    Width = 488
    Height = 168
    TabOrder = 0
    Caption = 'Customer'
    object LaCode: TKvLabel
      Left = 16
      Top = 28
      Width = 64
      Caption = 'Code'
    end
    object DbEdCode: TKvDbEdit
      Left = 96
      Top = 24
      Width = 120
      Height = 24
      TabOrder = 0
      DataField = 'Code'
    end
    object DbLaBalance: TKvDbLabel
      Left = 240
      Top = 28
      Width = 160
      DataField = 'Balance'
    end
    object CbActive: TKvCheckBox
      Left = 96
      Top = 60
      Width = 120
      Height = 20
      TabOrder = 1
      Caption = 'Active'
    end
    object RgKind: TKvRadioGroup
      Left = 96
      Top = 88
      Width = 200
      Height = 64
      TabOrder = 2
      Caption = 'Kind'
      Columns = 2
    end
    object CbCountry: TKvComboBox
      Left = 312
      Top = 88
      Width = 160
      Height = 24
      TabOrder = 3
    end
  end
  object MeNotes: TKvMemo
    Left = 12
    Top = 192
    Width = 488
    Height = 120
    TabOrder = 1
  end
  object BtSave: TKvBitBtn
    Left = 420
    Top = 324
    Width = 80
    Height = 28
    OnClick = BtSaveClick
    TabOrder = 2
    Caption = 'Save'
  end
end

object FrDemoCustomer: TFrDemoCustomer
  Left = 240
  Top = 160
  Width = 520
  Height = 400
  ActiveControl = DbEdCode
  Caption = 'Customer'
  object PsCustomer: TKvPkgStrings
    InitMode = imFILE
    FileName = 'KvDemoCustomer.kvstr'
    PkgName = 'Customer'
    Left = 16
    Top = 320
  end
  object KvCForm: TKvCForm
    MemoryLabel.PkgName = 'Customer'
    MemoryLabel.Id = 1
    BtnOk = BtSave
    Left = 96
    Top = 320
  end
  object PmCustomer: TKvPopupMenu
    Left = 176
    Top = 320
    object MiCopy: TKvMenuItem
      MemoryLabel.PkgName = 'Customer'
      MemoryLabel.Id = 13
      MemoryImage.PkgName = 'Demo'
      MemoryImage.Id = 8
      OnClick = MiCopyClick
    end
  end
  object CdsCustomer: TClientDataSet
    FieldDefs = <
      item
        Name = 'Code'
        DataType = ftString
        Size = 40
      end
      item
        Name = 'Balance'
        DataType = ftCurrency
      end
      item
        Name = 'Active'
        DataType = ftBoolean
      end
      item
        Name = 'Kind'
        DataType = ftString
        Size = 40
      end
      item
        Name = 'Country'
        DataType = ftString
        Size = 40
      end
      item
        Name = 'Notes'
        DataType = ftMemo
      end>
    Left = 256
    Top = 320
  end
  object DsCustomer: TDataSource
    DataSet = CdsCustomer
    Left = 336
    Top = 320
  end
  object GbCustomer: TKvGroupBox
    Left = 12
    Top = 12
    Width = 488
    Height = 168
    TabOrder = 0
    MemoryLabel.PkgName = 'Customer'
    MemoryLabel.Id = 1
    object LaCode: TKvLabel
      Left = 16
      Top = 28
      Width = 64
      MemoryLabel.PkgName = 'Customer'
      MemoryLabel.Id = 2
    end
    object DbEdCode: TKvDbEdit
      Left = 96
      Top = 24
      Width = 120
      Height = 24
      TabOrder = 0
      MemoryLabel.PkgName = 'Customer'
      MemoryLabel.Id = 15
      DataField = 'Code'
      DataSource = DsCustomer
    end
    object DbLaBalance: TKvDbLabel
      Left = 240
      Top = 28
      Width = 160
      MemoryLabel.PkgName = 'Customer'
      MemoryLabel.Id = 3
      DataField = 'Balance'
      DataSource = DsCustomer
    end
    object DbCbActive: TKvDbCheckBox
      Left = 96
      Top = 60
      Width = 120
      Height = 20
      TabOrder = 1
      MemoryLabel.PkgName = 'Customer'
      MemoryLabel.Id = 4
      DataField = 'Active'
      DataSource = DsCustomer
    end
    object DbRgKind: TKvDbRadioGroup
      Left = 96
      Top = 88
      Width = 200
      Height = 64
      TabOrder = 2
      MemoryLabel.PkgName = 'Customer'
      MemoryLabel.Id = 5
      Items = <
        item
          MemoryLabel.PkgName = 'Customer'
          MemoryLabel.Id = 6
          Value = 'P'
        end
        item
          MemoryLabel.PkgName = 'Customer'
          MemoryLabel.Id = 7
          Value = 'C'
        end>
      Columns = 2
      DataField = 'Kind'
      DataSource = DsCustomer
    end
    object DbCbCountry: TKvDbComboBox
      Left = 312
      Top = 88
      Width = 160
      Height = 24
      TabOrder = 3
      MemoryLabel.PkgName = 'Customer'
      MemoryLabel.Id = 8
      Items = <
        item
          MemoryLabel.PkgName = 'Customer'
          MemoryLabel.Id = 9
          Value = 'FR'
        end
        item
          MemoryLabel.PkgName = 'Customer'
          MemoryLabel.Id = 10
          Value = 'DE'
        end
        item
          MemoryLabel.PkgName = 'Customer'
          MemoryLabel.Id = 11
          Value = 'ES'
        end>
      DataField = 'Country'
      DataSource = DsCustomer
    end
  end
  object DbMeNotes: TKvDbMemo
    Left = 12
    Top = 192
    Width = 488
    Height = 120
    TabOrder = 1
    MemoryLabel.PkgName = 'Customer'
    MemoryLabel.Id = 14
    MemoryText.PkgName = 'Customer'
    MemoryText.Id = 1
    DataField = 'Notes'
    DataSource = DsCustomer
  end
  object BtSave: TKvBitBtn
    Left = 420
    Top = 324
    Width = 80
    Height = 28
    OnClick = BtSaveClick
    TabOrder = 2
    MemoryLabel.PkgName = 'Customer'
    MemoryLabel.Id = 12
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 7
    MemoryMessage.PkgName = 'Customer'
    MemoryMessage.Id = 1
  end
end

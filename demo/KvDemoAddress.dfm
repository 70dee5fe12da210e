object FaDemoAddress: TFaDemoAddress
  Width = 360
  Height = 72
  object KvCFrame: TKvCFrame
    PkgVars = 'Application'
    Left = 296
    Top = 8
  end
  object LaStreet: TKvLabel
    Left = 8
    Top = 12
    Width = 64
    Caption = 'Street'
  end
  object EdStreet: TKvEdit
    Left = 80
    Top = 8
    Width = 192
    Height = 24
    TabOrder = 0
    MaxLength = 80
  end
  object LaCity: TKvLabel
    Left = 8
    Top = 44
    Width = 64
    Caption = 'City'
  end
  object EdCity: TKvEdit
    Left = 80
    Top = 40
    Width = 160
    Height = 24
    TabOrder = 1
    MaxLength = 40
  end
end

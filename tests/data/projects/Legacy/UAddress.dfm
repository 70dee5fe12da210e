object FrAddress: TFrAddress
  Left = 0
  Top = 0
  Width = 320
  Height = 72
  TabOrder = 0
  object LbStreet: TLabel
    Left = 8
    Top = 12
    Width = 30
    Height = 13
    Caption = 'Street'
  end
  object EdStreet: TEdit
    Left = 64
    Top = 8
    Width = 241
    Height = 21
    TabOrder = 0
  end
  object EdCity: TEdit
    Left = 64
    Top = 40
    Width = 241
    Height = 21
    TabOrder = 1
  end
end

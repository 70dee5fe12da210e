object FormMain: TFormMain
  Left = 192
  Top = 107
  Width = 480
  Height = 320
  Caption = 'Sample'
  ActiveControl = EdName
  OnCreate = FormCreate
  object Data: TComponent
    Tag = 7
  end
  object PnTop: TWinControl
    Width = 480
    Height = 41
    TabOrder = 0
    object LaName: TControl
      Left = 8
      Top = 12
      Width = 60
      Height = 13
      Hint = 'Your name'
    end
    object EdName: TWinControl
      Left = 72
      Top = 8
      Width = 200
      Height = 21
      TabOrder = 0
    end
  end
  object BtOk: TWinControl
    Left = 392
    Top = 280
    Width = 75
    Height = 25
    OnClick = BtOkClick
    TabOrder = 1
  end
end

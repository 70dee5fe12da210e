object FrDemoAbout: TFrDemoAbout
  Left = 300
  Top = 200
  Width = 360
  Height = 220
  Caption = 'About the demo'
  object TmBlink: TKvTimer
  end
  object ShFrame: TKvShape
    Left = 8
    Top = 8
    Width = 336
    Height = 120
  end
  object PiLogo: TKvPkgImage
    Left = 20
    Top = 20
    Width = 64
    Height = 64
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 1
  end
  object LaProduct: TKvLabel
    Left = 100
    Top = 28
    Width = 220
    Height = 20
    Caption = 'KvControls demo project'
  end
  object LaVersion: TKvLabel
    Left = 100
    Top = 56
    Width = 220
    Caption = 'Version 1.0'
  end
  object BtClose: TKvBitBtn
    Left = 264
    Top = 148
    Width = 80
    Height = 28
    TabOrder = 0
    Caption = 'Close'
    ModalResult = 2
  end
end

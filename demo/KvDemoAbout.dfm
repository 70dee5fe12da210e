object FrDemoAbout: TFrDemoAbout
  Left = 300
  Top = 200
  Width = 360
  Height = 300
  Caption = 'About the demo'
  object TmBlink: TKvTimer
    Interval = 500
    OnTimer = TmBlinkTimer
  end
  object KvCForm: TKvCForm
    MemoryLabel.PkgName = 'Demo'
    MemoryLabel.Id = 16
    BtnCancel = BtClose
  end
  object ShFrame: TKvShape
    Left = 8
    Top = 8
    Width = 336
    Height = 88
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
    MemoryLabel.PkgName = 'Demo'
    MemoryLabel.Id = 17
  end
  object LaVersion: TKvLabel
    Left = 100
    Top = 56
    Width = 220
    MemoryLabel.PkgName = 'Demo'
    MemoryLabel.Id = 18
  end
  object MeAbout: TKvMemo
    Left = 8
    Top = 108
    Width = 336
    Height = 96
    TabOrder = 0
    MemoryText.PkgName = 'Demo'
    MemoryText.Id = 1
    ReadOnly = True
  end
  object BtClose: TKvBitBtn
    Left = 264
    Top = 224
    Width = 80
    Height = 28
    TabOrder = 1
    MemoryLabel.PkgName = 'Demo'
    MemoryLabel.Id = 19
    ModalResult = 2
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 2
    Cancel = True
  end
end

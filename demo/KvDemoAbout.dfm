object FrDemoAbout: TFrDemoAbout
  Left = 300
  Top = 200
  Width = 360
  Height = 400
  Caption = 'About the demo'
  object TmBlink: TKvTimer
    Interval = 500
    OnTimer = TmBlinkTimer
    Left = 16
    Top = 320
  end
  object KvCForm: TKvCForm
    MemoryLabel.PkgName = 'Demo'
    MemoryLabel.Id = 16
    BtnCancel = BtClose
    Left = 80
    Top = 320
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
  object ReCredits: TKvRichEdit
    Left = 8
    Top = 212
    Width = 336
    Height = 96
    TabOrder = 1
    Lines.Strings = (
      
        '{\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fnil\fcha' +
        'rset0 Tahoma;}{\f1\fswiss\fcharset0 Arial;}{\f2\fnil\fcharset2 S' +
        'ymbol;}}'
      '{\colortbl ;\red0\green0\blue128;\red192\green0\blue0;}'
      
        '{\*\generator Riched20 5.50.99.2050;}\viewkind4\uc1\pard\qc\cf1\' +
        'b\f1\fs20 KvControls Demo\cf0\b0\f0\fs16\par'
      '\pard Made with the \i KvControls\i0  library:\par'
      
        '\pard{\pntext\f2\'#39'B7\tab}{\*\pn\pnlvlblt\pnf2\pnindent0{\pntxtb\' +
        #39'B7}}\fi-200\li200 strings and images packages\par'
      '{\pntext\f2\'#39'B7\tab}menus, masks and \ul rich text\ulnone\par'
      '\pard\qr\cf2\i Caf\'#39'e9 Dev \'#39'a9 2026\cf0\i0\par'
      '}')
    ReadOnly = True
  end
  object BtClose: TKvBitBtn
    Left = 264
    Top = 324
    Width = 80
    Height = 28
    TabOrder = 2
    MemoryLabel.PkgName = 'Demo'
    MemoryLabel.Id = 19
    ModalResult = 2
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 2
    Cancel = True
  end
end

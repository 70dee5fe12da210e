object FrDemoNotes: TFrDemoNotes
  Left = 220
  Top = 100
  Width = 680
  Height = 480
  ActiveControl = MeNote
  Caption = 'Notes'
  object PsNotes: TKvPkgStrings
    PkgName = 'Notes'
    Left = 148
    Top = 408
    Data = {
      4B56504B5354525301001A0043617074696F6E73206F6620746865206E6F7465
      7320666F726DEE010000FFFFFF7F000000000000000000000000000000000D00
      00000100000000050000004E6F7465731E0000004E6F74657320616E64206C65
      747465727320746F20637573746F6D657273020000000009000000437573746F
      6D657273000000000300000000060000004F7264657273000000000400000000
      0C0000004E657720637573746F6D65720E000000416464206120637573746F6D
      657205000000000D00000046696E6420637573746F6D65721700000046696E64
      206120637573746F6D6572206279206E616D650600000000090000004E657720
      6F726465720C00000041646420616E206F726465720700000000000000001800
      0000412073686F7274206E6F74652C20706C61696E2074657874080000000000
      00000022000000546865206C65747465722C207769746820666F6E747320616E
      6420636F6C6F75727309000000000000000019000000466F6E74206F66207468
      652073656C656374656420746578740A00000000000000002100000044726167
      207468652070686F746F20746F206D6F7665207468652077696E646F770B0000
      000000000000120000005A6F6F6D206F6620746865206C65747465720C000000
      00000000000B000000576865726520746F20676F0D00000000000000000F0000
      00436C6F736520746865206E6F746573000000000000000009F8B3C0}
  end
  object KvCForm: TKvCForm
    PkgVars = 'Notes'
    MemoryLabel.PkgName = 'Notes'
    MemoryLabel.Id = 1
    BtnCancel = SbClose
    Left = 212
    Top = 408
  end
  object PvNotes: TKvPkgVars
    PkgName = 'Notes'
    Left = 276
    Top = 408
    Data = {
      4B56504B564152530100000070000000FFFFFF7F000000000000000000000000
      0000000002000000060000004C65747465720400000002000000040000005A6F
      6F6D010000006400000004000000466F6E740300000005000000417269616C04
      0000004E6F7465040000000100000008000000576F7264577261700000000001
      668C89A7}
  end
  object IfShape: TKvImageForm
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 1
    Left = 340
    Top = 408
  end
  object MfPhoto: TKvMoveForm
    Control = ImPhoto
    Left = 404
    Top = 408
  end
  object ObSections: TKvOutLookBar
    Width = 140
    Height = 440
    TabOrder = 0
    MemoryLabel.PkgName = 'Notes'
    MemoryLabel.Id = 12
    ActivePage = PgCustomers
    object PgOrders: TKvOutLookBarPage
      Width = 140
      Height = 440
      TabOrder = 0
      MemoryLabel.PkgName = 'Notes'
      MemoryLabel.Id = 3
      MemoryImage.PkgName = 'Demo'
      MemoryImage.Id = 7
      object FiOrders: TKvFocusImage
        Left = 38
        Top = 40
        Width = 64
        Height = 64
        TabOrder = 0
        MemoryImage.PkgName = 'Demo'
        MemoryImage.Id = 1
      end
    end
    object PgCustomers: TKvOutLookBarPage
      Width = 140
      Height = 440
      TabOrder = 1
      MemoryLabel.PkgName = 'Notes'
      MemoryLabel.Id = 2
      MemoryImage.PkgName = 'Demo'
      MemoryImage.Id = 4
      object PmCustomers: TKvPanelMenu
        Left = 4
        Top = 28
        Width = 132
        Height = 96
        TabOrder = 0
        object MiNewCustomer: TKvMenuItem
          MemoryLabel.PkgName = 'Notes'
          MemoryLabel.Id = 4
          MemoryImage.PkgName = 'Demo'
          MemoryImage.Id = 4
          OnClick = MiNewCustomerClick
        end
        object MiFindCustomer: TKvMenuItem
          MemoryLabel.PkgName = 'Notes'
          MemoryLabel.Id = 5
          MemoryImage.PkgName = 'Demo'
          MemoryImage.Id = 6
          OnClick = MiFindCustomerClick
        end
      end
    end
  end
  object MbNote: TKvMemoBar
    Left = 148
    Top = 8
    Width = 200
    Height = 28
    TabOrder = 1
    Memo = MeNote
  end
  object MeNote: TKvMemo
    Left = 148
    Top = 40
    Width = 240
    Height = 120
    TabOrder = 2
    MemoryLabel.PkgName = 'Notes'
    MemoryLabel.Id = 7
    Lines.Strings = (
      'Call back on Monday.'
      'Send the new price list.')
  end
  object SxPhoto: TKvScrollBox
    Left = 400
    Top = 40
    Width = 264
    Height = 120
    TabOrder = 3
    HorzRange = 320
    object ImPhoto: TKvImage
      Width = 96
      Height = 72
      MemoryLabel.PkgName = 'Notes'
      MemoryLabel.Id = 10
      GraphicClass = 'PNG'
      Picture = {
        89504E470D0A1A0A0000000D49484452000000600000004808060000000967F0
        63000000097048597300000EC400000EC401952B0E1B000001F449444154789C
        EDDCBB4A03511485E1359A1131069558248A11418B78E9828510F005AC7C063B
        5B2F88168245D07709BE8360A595D114094423460B431454C46318AB40D05808
        3BB30AD7570D53EC33F0CFA53AE339F71640687AD817F0DF2900990290290099
        0290290099029029009902902900990290290099029029009902902900990290
        290059248C45822040A15882FB70B6839F9F80CB0B606E01181A361DEDF7F998
        4FCFC0F33CD3B9DF8512A0502C616D7DC77CEE56B38E141C6EE0E3B0376E3E3F
        B7BF89E5ECA2F9DC76A10468DDF9AB997ECC267DB3B989E30700C0241CF65662
        66732F6B0EF9F377C4620366337F134A8096D9A48FF498DD928DB663CBB90090
        3F7F8787EEBE7E007D84E914804C01C814804C01C814804C01C814804C01C814
        804C01C814804C01C814804C01C814804C01C814804C01C814804C01C814804C
        01C814804C01C814804C01C814804C01C814804C01C814804C01C814804C01C8
        14804C01C81480ACE3DECEC77A03D5DB9AD922A5F23500E0EADE76A77CA2EDB8
        58FB349BDBBACED6755B484D8C61343EF2E3BCD7E9EFE91BBB399C9C9E992DDE
        2DDDDE296F29BB94C1D1C1F68FF31D03583F014110A052BD43D3D9DDA500D0FB
        FA8268A58CD7A96934A383B6B3FD08A652E366FF8AF8D31320E1D147984C01C8
        14804C01C814804C01C81480EC0BD2B86CA41E27ACA00000000049454E44AE42
        6082}
    end
  end
  object IbPhoto: TKvImageBar
    Left = 400
    Top = 8
    Width = 160
    Height = 28
    TabOrder = 4
    Image = ImPhoto
  end
  object SbClose: TKvSpeedButton
    Left = 640
    Top = 8
    Width = 24
    Height = 24
    MemoryLabel.PkgName = 'Notes'
    MemoryLabel.Id = 13
    ModalResult = 2
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 5
  end
  object RbLetter: TKvRichEditBar
    Left = 148
    Top = 172
    Width = 240
    Height = 28
    TabOrder = 5
    RichEdit = ReLetter
  end
  object FcLetter: TKvFontComboBox
    Left = 396
    Top = 172
    Width = 160
    Height = 24
    TabOrder = 6
    MemoryLabel.PkgName = 'Notes'
    MemoryLabel.Id = 9
    Value = 'Arial'
  end
  object FlLetter: TKvFontListBox
    Left = 564
    Top = 204
    Width = 100
    Height = 196
    TabOrder = 7
    MemoryLabel.PkgName = 'Notes'
    MemoryLabel.Id = 9
    Value = 'Arial'
  end
  object RuLetter: TKvRuler
    Left = 148
    Top = 204
    Width = 408
    Height = 20
  end
  object ReLetter: TKvRichEdit
    Left = 148
    Top = 224
    Width = 392
    Height = 176
    TabOrder = 8
    MemoryLabel.PkgName = 'Notes'
    MemoryLabel.Id = 8
    Lines.Strings = (
      '{\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}}'
      '\pard\f0\fs20 Dear customer,\par'
      '\pard your order has left our warehouse \b today\b0 .\par'
      '}')
  end
  object EsZoom: TKvExtScrollBar
    Left = 540
    Top = 224
    Width = 16
    Height = 176
    TabOrder = 9
    MemoryLabel.PkgName = 'Notes'
    MemoryLabel.Id = 11
    Kind = orVertical
    Min = 10
    Max = 400
    Position = 100
    LargeChange = 50
  end
end

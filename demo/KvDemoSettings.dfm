object FrDemoSettings: TFrDemoSettings
  Left = 280
  Top = 120
  Width = 600
  Height = 500
  Caption = 'Settings'
  object PsSettings: TKvPkgStrings
    PkgName = 'Settings'
    Left = 16
    Top = 420
    Data = {
      4B56504B5354525301001D0043617074696F6E73206F66207468652073657474
      696E677320666F726DFF020000FFFFFF7F000000000000000000000000000000
      001A00000001000000000800000053657474696E67731D000000486F77207468
      652064656D6F206C6F6F6B7320616E6420737461727473020000000004000000
      4C6F6F6B0000000003000000000000000017000000436F6C6F75722073657420
      6F6620746865206C697374730400000000000000001D0000004261636B67726F
      756E6420736574206F66207468652077696E646F777305000000000000000018
      000000466F6E7420736574206F66207468652063617074696F6E730600000000
      04000000526F77732300000053657473206F6620746865206865616465722061
      6E64206F6620746865206C696E65730700000000000000001000000049636F6E
      206F66207468652064656D6F08000000000000000017000000436F6C6F757220
      6F66207468652073656C656374696F6E09000000000000000016000000507269
      6E746572206F6620746865207265706F7274730A000000001600000053686F77
      207468652073746172742070696374757265000000000B000000000B00000053
      6D616C6C2069636F6E73000000000C000000000B0000004C617267652069636F
      6E73000000000D000000000D0000004F70656E20617420737461727400000000
      0E0000000009000000437573746F6D657273000000000F00000000060000004F
      7264657273000000001000000000050000004E6F746573000000001100000000
      00000000180000004C616E6775616765206F66207468652063617074696F6E73
      120000000007000000456E676C69736800000000130000000006000000467265
      6E63680000000014000000000000000014000000576861742074686520757365
      72206D617920646F1500000000020000004F4B00000000160000000006000000
      43616E63656C0000000017000000000A00000041646420696D61676573000000
      001800000000110000005368617065206F6620746865206C6F676F0000000019
      0000000006000000486561646572000000001A00000000050000004C696E6573
      0000000000000000000000001740F3AD}
  end
  object KvCForm: TKvCForm
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 1
    BtnOk = BtOk
    BtnCancel = BtCancel
    Left = 80
    Top = 420
  end
  object PpAccess: TKvPkgPrivileges
    Left = 144
    Top = 420
    Data = {
      4B56504B5052495601001E0050726976696C65676573206F6620746865206465
      6D6F277320757365727387000000FFFFFF7F0000000000000000000000000000
      00000000000000030000000100000002010000000E0000005265616420637573
      746F6D65727300000000FFFFFFFF020000000202000000100000004368616E67
      6520637573746F6D65727300000000FFFFFFFF0300000002020000000D000000
      44656C657465206F726465727300000000FFFFFFFFEA1BEEB9}
  end
  object IaDemo: TKvPkgImagesAdd
    PkgName = 'Demo'
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 23
    Left = 208
    Top = 420
  end
  object DrLogo: TKvPkgImagesDesignRgn
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 1
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 24
    Left = 272
    Top = 420
  end
  object GbLook: TKvGroupBox
    Left = 8
    Top = 8
    Width = 376
    Height = 248
    TabOrder = 0
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 2
    object LsColor: TKvLBSetsColor
      Left = 8
      Top = 20
      Width = 116
      Height = 120
      TabOrder = 0
      MemoryLabel.PkgName = 'Settings'
      MemoryLabel.Id = 3
    end
    object CsColor: TKvCBSetsColor
      Left = 8
      Top = 148
      Width = 116
      Height = 24
      TabOrder = 1
      MemoryLabel.PkgName = 'Settings'
      MemoryLabel.Id = 3
    end
    object LsBackGround: TKvLBSetsBackGround
      Left = 130
      Top = 20
      Width = 116
      Height = 120
      TabOrder = 2
      MemoryLabel.PkgName = 'Settings'
      MemoryLabel.Id = 4
    end
    object CsBackGround: TKvCBSetsBackGround
      Left = 130
      Top = 148
      Width = 116
      Height = 24
      TabOrder = 3
      MemoryLabel.PkgName = 'Settings'
      MemoryLabel.Id = 4
    end
    object LsFont: TKvLBSetsFont
      Left = 252
      Top = 20
      Width = 116
      Height = 120
      TabOrder = 4
      MemoryLabel.PkgName = 'Settings'
      MemoryLabel.Id = 5
    end
    object CsFont: TKvCBSetsFont
      Left = 252
      Top = 148
      Width = 116
      Height = 24
      TabOrder = 5
      MemoryLabel.PkgName = 'Settings'
      MemoryLabel.Id = 5
    end
    object SgRows: TKvSetsGroup
      Left = 8
      Top = 180
      Width = 360
      Height = 60
      TabOrder = 6
      MemoryLabel.PkgName = 'Settings'
      MemoryLabel.Id = 6
      Items = <
        item
          MemoryLabel.PkgName = 'Settings'
          MemoryLabel.Id = 25
        end
        item
          MemoryLabel.PkgName = 'Settings'
          MemoryLabel.Id = 26
        end>
    end
  end
  object LiIcon: TKvLBPkgImages
    Left = 392
    Top = 8
    Width = 200
    Height = 112
    TabOrder = 1
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 7
    Value = 1
    PkgName = 'Demo'
  end
  object CiIcon: TKvCBPkgImages
    Left = 392
    Top = 128
    Width = 200
    Height = 24
    TabOrder = 2
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 7
    Value = 4
    PkgName = 'Demo'
  end
  object LcSelection: TKvLBColors
    Left = 392
    Top = 160
    Width = 200
    Height = 64
    TabOrder = 3
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 8
  end
  object CcSelection: TKvCBColors
    Left = 392
    Top = 232
    Width = 200
    Height = 24
    TabOrder = 4
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 8
    Value = 12610605
  end
  object CkStartPicture: TKvCheckBox
    Left = 8
    Top = 268
    Width = 200
    Height = 20
    TabOrder = 5
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 10
    Value = True
  end
  object RbSmallIcons: TKvRadioButton
    Left = 8
    Top = 292
    Width = 120
    Height = 20
    TabOrder = 6
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 11
    Value = '16'
    ValueChecked = '16'
  end
  object RbLargeIcons: TKvRadioButton
    Left = 136
    Top = 292
    Width = 120
    Height = 20
    TabOrder = 7
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 12
    ValueChecked = '32'
  end
  object RgStart: TKvRadioGroup
    Left = 8
    Top = 320
    Width = 248
    Height = 88
    TabOrder = 8
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 13
    Value = 'C'
    Items = <
      item
        MemoryLabel.PkgName = 'Settings'
        MemoryLabel.Id = 14
        MemoryImage.PkgName = 'Demo'
        MemoryImage.Id = 4
        Value = 'C'
      end
      item
        MemoryLabel.PkgName = 'Settings'
        MemoryLabel.Id = 15
        MemoryImage.PkgName = 'Demo'
        MemoryImage.Id = 7
        Value = 'O'
      end
      item
        MemoryLabel.PkgName = 'Settings'
        MemoryLabel.Id = 16
        MemoryImage.PkgName = 'Demo'
        MemoryImage.Id = 10
        Value = 'N'
      end>
  end
  object CbLanguage: TKvComboBox
    Left = 264
    Top = 268
    Width = 120
    Height = 24
    TabOrder = 9
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 17
    Value = 'en'
    Items = <
      item
        MemoryLabel.PkgName = 'Settings'
        MemoryLabel.Id = 18
        Value = 'en'
      end
      item
        MemoryLabel.PkgName = 'Settings'
        MemoryLabel.Id = 19
        Value = 'fr'
      end>
  end
  object CpReports: TKvCBPrinters
    Left = 264
    Top = 300
    Width = 120
    Height = 24
    TabOrder = 10
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 9
  end
  object LpUser: TKvLBPrivileges
    Left = 392
    Top = 268
    Width = 200
    Height = 140
    TabOrder = 11
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 20
  end
  object BtOk: TKvBitBtn
    Left = 424
    Top = 420
    Width = 80
    Height = 28
    TabOrder = 12
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 21
    ModalResult = 1
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 2
    Default = True
  end
  object BtCancel: TKvBitBtn
    Left = 512
    Top = 420
    Width = 80
    Height = 28
    TabOrder = 13
    MemoryLabel.PkgName = 'Settings'
    MemoryLabel.Id = 22
    ModalResult = 2
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 3
    Cancel = True
  end
end

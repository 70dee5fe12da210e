object FrDemoOrders: TFrDemoOrders
  Left = 260
  Top = 140
  Width = 600
  Height = 440
  ActiveControl = DbLbOrders
  Caption = 'Orders'
  object PsOrders: TKvPkgStrings
    PkgName = 'Orders'
    Left = 200
    Top = 344
    Data = {
      4B56504B535452530100280043617074696F6E7320616E64206D657373616765
      73206F6620746865206F726465727320666F726D74020000FFFFFF7F00000000
      000000000000000000000000100000000100000000060000004F726465727323
      000000546865206F7264657273206F66207468652073656C6563746564206375
      73746F6D65720200000000050000004F72646572000000000300000000070000
      0050696374757265000000000400000000060000004E756D6265720000000005
      0000000006000000537461747573150000004F70656E2C207368697070656420
      6F7220706169640600000000080000005175616E746974791D000000486F7720
      6D616E792074686520637573746F6D6572206F72646572656407000000000800
      000044656C6976657279180000005468652064617920746865206F7264657220
      6C6561766573080000000004000000506F73740E0000004B6565702074686520
      6F726465720900000000000000001D00000044726F7020746865206368616E67
      657320746F20746865206F726465720A00000000000000001200000052656164
      696E6720746865206F72646572730B000000000000000019000000436C69636B
      20616E206F7264657220746F2073686F772069740C0000000000000000190000
      0052656D61726B7320666F72207468652077617265686F7573650D0000000000
      0000002E00000050696374757265206F66207468652070726F647563743B2066
      6F63757365642C20697473207468756D626E61696C0E00000000060000004F72
      64657273000000000F0000000005000000546F64617900000000100000000005
      000000436C6F736510000000436C6F736520746865206F726465727301000000
      01000000001F0000004B65657020746865206368616E67657320746F20746869
      73206F726465723F000000001B0A3079}
  end
  object KvCForm: TKvCForm
    DataSources = <
      item
        DataSource = DsOrders
      end>
    MemoryLabel.PkgName = 'Orders'
    MemoryLabel.Id = 1
    BtnOk = DbBtPost
    BtnCancel = BtClose
    Left = 256
    Top = 344
  end
  object TtRefresh: TKvThreadTimer
    Interval = 60000
    OnTimer = TtRefreshTimer
    Priority = 2
    Left = 312
    Top = 344
  end
  object CbLayout: TKvCBuffer
    Data = {4E756D6265723D36303B5374617475733D38303B5175616E746974793D3630}
    Left = 368
    Top = 344
  end
  object CdsOrders: TClientDataSet
    FieldDefs = <
      item
        Name = 'Number'
        DataType = ftString
        Size = 40
      end
      item
        Name = 'View'
        DataType = ftString
        Size = 40
      end
      item
        Name = 'Status'
        DataType = ftString
        Size = 40
      end
      item
        Name = 'StatusImage'
        DataType = ftInteger
      end
      item
        Name = 'Quantity'
        DataType = ftInteger
      end
      item
        Name = 'Delivery'
        DataType = ftDate
      end
      item
        Name = 'Remarks'
        DataType = ftMemo
      end
      item
        Name = 'Picture'
        DataType = ftGraphic
      end
      item
        Name = 'Thumbnail'
        DataType = ftGraphic
      end>
    Left = 264
    Top = 4
  end
  object DsOrders: TDataSource
    DataSet = CdsOrders
    Left = 344
    Top = 4
  end
  object NvOrders: TKvDbNavigator
    Left = 8
    Top = 8
    Height = 28
    TabOrder = 0
    DataSource = DsOrders
    Flat = True
  end
  object DbLbOrders: TKvDbListBox
    Left = 8
    Top = 44
    Width = 180
    Height = 264
    TabOrder = 1
    MemoryLabel.PkgName = 'Orders'
    MemoryLabel.Id = 11
    Items = <
      item
        Caption = 'O-1001'
        Value = 'O-1001'
      end
      item
        Caption = 'O-1002'
        Value = 'O-1002'
      end
      item
        Caption = 'O-1003'
        Value = 'O-1003'
      end>
    DataField = 'Number'
    DataSource = DsOrders
  end
  object SpOrders: TKvSplitter
    Left = 188
    Top = 44
    Width = 4
    Height = 264
  end
  object DbPcOrder: TKvDbPageControl
    Left = 196
    Top = 44
    Width = 396
    Height = 264
    TabOrder = 2
    Value = 'O'
    Tabs = <
      item
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 2
        MemoryImage.PkgName = 'Demo'
        MemoryImage.Id = 9
        Value = 'O'
        PageId = 1
      end
      item
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 3
        MemoryImage.PkgName = 'Demo'
        MemoryImage.Id = 10
        Value = 'P'
        PageId = 2
      end>
    DataField = 'View'
    DataSource = DsOrders
    object TsOrder: TKvTabSheet
      Left = 4
      Top = 28
      Width = 388
      Height = 232
      TabOrder = 0
      PageId = 1
      object LaNumber: TKvLabel
        Left = 8
        Top = 12
        Width = 72
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 4
      end
      object DbLaNumber: TKvDbLabel
        Left = 88
        Top = 12
        Width = 120
        DataField = 'Number'
        DataSource = DsOrders
      end
      object DbPiStatus: TKvDbPkgImage
        Left = 348
        Top = 8
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 5
        DataField = 'StatusImage'
        DataSource = DsOrders
        PkgName = 'Demo'
      end
      object LaQuantity: TKvLabel
        Left = 8
        Top = 44
        Width = 72
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 6
      end
      object EdQuantity: TKvEdit
        Left = 88
        Top = 40
        Width = 64
        Height = 24
        TabOrder = 0
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 6
      end
      object UdQuantity: TKvUpDown
        Left = 152
        Top = 40
        Width = 16
        Height = 24
        TabOrder = 1
        Associate = EdQuantity
        Min = 1
        Max = 999
        Position = 1
      end
      object LaDate: TKvLabel
        Left = 8
        Top = 76
        Width = 72
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 7
      end
      object UxDelivery: TKvUpDownEx
        Left = 88
        Top = 72
        Width = 120
        Height = 24
        TabOrder = 2
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 7
        Min = 46023d
        Max = 46387d
        Position = 46174d
        DataType = dtDateTime
      end
      object DbReRemarks: TKvDbRichEdit
        Left = 8
        Top = 108
        Width = 372
        Height = 116
        TabOrder = 3
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 12
        DataField = 'Remarks'
        DataSource = DsOrders
      end
    end
    object TsPicture: TKvTabSheet
      Left = 4
      Top = 28
      Width = 388
      Height = 232
      TabOrder = 1
      PageId = 2
      object DbImProduct: TKvDbImage
        Left = 8
        Top = 8
        Width = 240
        Height = 216
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 13
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
        Center = True
        DataField = 'Picture'
        DataSource = DsOrders
      end
      object DbFiThumbnail: TKvDbFocusImage
        Left = 260
        Top = 8
        Width = 120
        Height = 96
        TabOrder = 0
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 13
        MemoryImage.PkgName = 'Demo'
        MemoryImage.Id = 4
        MemoryImageFocus.PkgName = 'Demo'
        MemoryImageFocus.Id = 1
        DataField = 'Thumbnail'
        DataSource = DsOrders
      end
    end
  end
  object PbLoading: TKvProgressBar
    Left = 8
    Top = 316
    Width = 180
    Height = 20
    TabOrder = 3
    MemoryLabel.PkgName = 'Orders'
    MemoryLabel.Id = 10
    ShowText = True
  end
  object DbBtPost: TKvDbBitBtn
    Left = 424
    Top = 316
    Width = 80
    Height = 28
    TabOrder = 4
    MemoryLabel.PkgName = 'Orders'
    MemoryLabel.Id = 8
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 7
    MemoryMessage.PkgName = 'Orders'
    MemoryMessage.Id = 1
    DataSource = DsOrders
    Commands = <
      item
        Action = dbaPost
      end>
  end
  object DbSbCancel: TKvDbSpeedButton
    Left = 512
    Top = 316
    Width = 28
    Height = 28
    MemoryLabel.PkgName = 'Orders'
    MemoryLabel.Id = 9
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 3
    DataSource = DsOrders
    Commands = <
      item
        Action = dbaCancel
      end>
  end
  object StOrders: TKvStatusBar
    Top = 386
    Width = 600
    Height = 22
    TabOrder = 5
    Panels = <
      item
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 14
        Value = 3
        DataType = dtInteger
        Width = 120
      end
      item
        MemoryLabel.PkgName = 'Orders'
        MemoryLabel.Id = 15
        Value = 46174d
        DataType = dtDateTime
        Width = 160
      end>
  end
  object BtClose: TKvBitBtn
    Left = 512
    Top = 352
    Width = 80
    Height = 28
    TabOrder = 6
    MemoryLabel.PkgName = 'Orders'
    MemoryLabel.Id = 16
    ModalResult = 2
    MemoryImage.PkgName = 'Demo'
    MemoryImage.Id = 5
    Cancel = True
  end
end

object FrmValues: TFrmValues
  Int8Min = -128
  Int8Max = 127
  Int16 = 128
  Int16Min = -32768
  Int32 = 70000
  Int32Min = -2147483648
  Int64 = 5000000000
  Int64Min = -9223372036854775808
  Zero = 0
  Ratio = 1.500000000000000000
  Third = 0.333333333333333300
  Tenth = 0.100000000000000000
  Negative = -273.150000000000000000
  Big = 123456789012345.600000000000000000
  Huge = 1E20
  Tiny = 0.000000000150000000
  Single = 0.5s
  SingleThird = 0.333333343267441s
  Money = 15000c
  NegativeMoney = -1c
  When = 45000.75d
  Epoch = 0d
  Flag = True
  Other = False
  Nothing = nil
  Unknown = Null
  Kind = dtInteger
  Empty = ''
  Quote = #39
  Lines = 'Line1'#13#10'Line2'
  Controls = #0#1#31'x'
  Empties = []
  Chars = [#65, #66]
  Bytes = [1, 2, 3]
  List = ()
  Nested = (
    1
    (
      'a'
      'b')
    [akLeft]
    2.500000000000000000)
  Binary32 = {
    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F}
  Exact64 = '0123456789012345678901234567890123456789012345678901234567890123'
  Long65 = 
    '0123456789012345678901234567890123456789012345678901234567890123' +
    'X'
  Escapes65 = 
    #9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9#9 +
    #9
  Mixed = 
    'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx'#13#10'yy' +
    'yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy' +
    'yyyy'#233'z'
end

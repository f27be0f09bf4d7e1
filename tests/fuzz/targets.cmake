# The fuzz targets: <name>Fuzzer.cpp each, seeded and replayed from
# corpus/<name>. tests/tools/fuzz.sh reads this list too (one name a line).
set(launcher_fuzz_targets
  IniParser
  Version
  Tokenizer
  PeHeader
  VmParameters
  SharedBlock
  ModifiedUtf8
  EmbeddedSettings
  DateTimePattern
  RegistryValue
  ReleaseFile
  IconFile
  StampResources
  Stamp
)

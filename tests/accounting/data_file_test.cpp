// Loading and saving the data file: the scrambling of its fields, a table that loads back
// exactly, and what is refused, ignored, stored as blanks or never created.
#include "accounting/data_file/data_file.h"

#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "runtime/crypto_faults.h"
#include "tests/fixtures/accounting_fixture.h"
#include "tests/fixtures/files.h"

namespace {

std::vector<std::string> numberedFields(int count) {
  std::vector<std::string> fields;
  for (int i = 1; i <= count; ++i)
    fields.push_back("field" + std::to_string(i));
  return fields;
}

std::vector<std::string> tableFields() {
  std::vector<std::string> fields;
  for (const std::string* f : fieldsInFileOrder(std::as_const(vTable)))
    fields.push_back(*f);
  return fields;
}

}  // namespace

using DataFile = AccountingTest;

TEST(Scramble, EveryFieldByteScramblesToAPrintableByte) {
  const unsigned char key = scrambleByte();
  EXPECT_NE(key, 0) << "the scramble must change the bytes";
  for (int c = 0x20; c <= 0xFF; ++c) {
    const int scrambled = c ^ key;
    EXPECT_NE(scrambled, '\n') << c;
    EXPECT_NE(scrambled, '\r') << c;
    EXPECT_NE(scrambled, 0x1A) << c;
    EXPECT_NE(scrambled, 0x00) << c;
  }
}

TEST(Scramble, TwiceGivesTheTextBack) {
  const std::string text = "quillsun \x7f\xe9\xff 0123";
  EXPECT_NE(ScrambleText(text), text);
  EXPECT_EQ(ScrambleText(ScrambleText(text)), text);
  EXPECT_EQ(static_cast<unsigned char>(ScrambleText("A")[0]), 'A' ^ scrambleByte());
}

TEST_F(DataFile, SavedTableLoadsBackExactly) {
  writeDataFile(std::vector<std::string>(105, ""));
  vTable.user(2).field(kAccount) = "pl\xe4yer \xff";
  vTable.user(2).field(kMinutesLeft) = "0030";
  vTable.user(4).field(kMachine) = "";
  vTable.option(7) = "reserved text";
  vTable.password = "p\xe9ss w\xf6rd";
  SaveData();
  const auto saved = tableFields();
  EXPECT_TRUE(passwordOpens(saved[0], "p\xe9ss w\xf6rd")) << "line 1 holds the password's hash";

  InstallDefaults();
  EXPECT_EQ(LoadData(), 105);
  EXPECT_EQ(tableFields(), saved);
  EXPECT_EQ(dataFileFields(), saved) << "one line per field, each character scrambled";
}

TEST_F(DataFile, StaleBytesOfOlderSavesStillLoadAndASaveEndsTheFileAfterTheTable) {
  std::vector<std::string> fields = numberedFields(105);
  fields[0] = hashPassword("field1");  // a hash is saved as it is, so the save is shorter
  writeDataFile(fields);
  // What an older, longer save left behind a shorter one: the end of a line, whole lines,
  // and a cut one without a line end.
  test_files::writeBytes(dataPath, test_files::readBytes(dataPath) + "ld15\nfield1\nfie");
  EXPECT_EQ(LoadData(), 108);
  EXPECT_EQ(vTable.user(6).field(15), "field105");

  vTable.option(7) = "short";
  const auto saved = tableFields();
  ASSERT_TRUE(SaveData());
  EXPECT_EQ(dataFileFields(), saved) << "nothing after line 105";
  InstallDefaults();
  EXPECT_EQ(LoadData(), 105);
  EXPECT_EQ(tableFields(), saved);
}

TEST_F(DataFile, FileThatIsNotAWholeDataFileIsRefusedAndNeverWrittenOver) {
  const auto bytesOf = [&](const std::vector<std::string>& fields) {
    writeDataFile(fields);
    return test_files::readBytes(dataPath);
  };
  std::vector<std::string> withControlByte(105, "ok");
  withControlByte[40] = "tab\there";
  std::string foreign;
  for (int i = 0; i < 200000; ++i)
    foreign += static_cast<char>((i * 7919 + i / 13) % 256);
  const std::string cutInLine104 = bytesOf(numberedFields(104));
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"20 lines", bytesOf(numberedFields(20))},
      {"cut in line 104", cutInLine104.substr(0, cutInLine104.size() - 4)},
      {"a control byte in a field", bytesOf(withControlByte)},
      {"foreign bytes", foreign}};
  for (const auto& [what, bytes] : cases) {
    test_files::writeBytes(dataPath, bytes);
    test_files::remove(logPath);
    vTable.password = "kept";
    EXPECT_EQ(LoadData(), -1) << what;
    EXPECT_EQ(lastLoadProblem(), LoadProblem::Damaged) << what;
    EXPECT_EQ(vTable.password, "kept") << what;
    EXPECT_FALSE(SaveData()) << what;
    EXPECT_EQ(test_files::readBytes(dataPath), bytes) << what;
    const std::string damaged =
        "06/12/2026 09:05 - Admin - Data file " + dataPath + " is damaged - not loaded and not written over";
    const std::vector<std::string> log{damaged, damaged, "06/12/2026 09:05 - Admin - Could not write file " + dataPath};
    EXPECT_EQ(logLines(), log) << what;
  }

  EXPECT_TRUE(RewriteDataFile()) << "a supervisor's repair writes over it";
  EXPECT_EQ(LoadData(), 105);
  EXPECT_TRUE(passwordOpens(vTable.password, "kept"));
  EXPECT_EQ(lastLoadProblem(), LoadProblem::None);
}

TEST_F(DataFile, APasswordStoredAsTypedIsHashedAtTheNextSaveAndNeverAgain) {
  std::vector<std::string> fields(105, "7");
  fields[0] = "written before hashing";
  writeDataFile(fields);
  ASSERT_EQ(LoadData(), 105);
  EXPECT_TRUE(passwordOpens(vTable.password, "written before hashing"));
  ASSERT_TRUE(SaveData());
  const std::string hashed = dataFileFields()[0];
  EXPECT_TRUE(isPasswordHash(hashed));
  EXPECT_TRUE(passwordOpens(hashed, "written before hashing"));
  EXPECT_EQ(vTable.password, hashed) << "the table holds the hash too";

  ASSERT_EQ(LoadData(), 105);
  ASSERT_TRUE(SaveData());
  EXPECT_EQ(dataFileFields()[0], hashed);
}

TEST_F(DataFile, WithoutThePlatformsCryptoThePasswordIsSavedAsItWasAndTheFailureLoggedOnce) {
  writeDataFile(std::vector<std::string>(105, ""));
  rt::injectCryptoFailure(true);
  vTable.password = "no crypto";
  EXPECT_TRUE(SaveData());
  EXPECT_TRUE(SaveData());
  EXPECT_EQ(dataFileFields()[0], "no crypto");
  EXPECT_EQ(logLines(), std::vector<std::string>{"06/12/2026 09:05 - Admin - Could not hash the supervisor password - "
                                                 "kept as it was"});
}

TEST_F(DataFile, LinesPastTheTableAreIgnored) {
  writeDataFile(numberedFields(250));
  EXPECT_EQ(LoadData(), 250);
  EXPECT_EQ(vTable.password, "field1");
  EXPECT_EQ(vTable.user(6).field(15), "field105");
}

TEST_F(DataFile, ReadsCrLfLineEndsAndALastLineWithoutLineFeed) {
  writeDataFile(numberedFields(105), "\r\n");
  LoadData();
  EXPECT_EQ(vTable.defaultAllowance(1), "field2");
  EXPECT_EQ(vTable.user(6).field(15), "field105");

  std::string bytes = test_files::readBytes(dataPath);
  bytes.resize(bytes.size() - 2);  // the last line loses its line end
  test_files::writeBytes(dataPath, bytes);
  LoadData();
  EXPECT_EQ(vTable.user(6).field(15), "field105");
}

TEST_F(DataFile, ControlBytesInAFieldAreStoredAsBlanks) {
  writeDataFile(std::vector<std::string>(105, ""));
  vTable.user(1).field(kAccount) = "evil\nname\r\x1a\x01";
  vTable.user(1).field(kMinutesLeft) = "0042";
  SaveData();
  EXPECT_EQ(test_files::lines(dataPath).size(), 105u);
  InstallDefaults();
  LoadData();
  EXPECT_EQ(vTable.user(1).field(kAccount), "evil name   ");
  EXPECT_EQ(vTable.user(1).field(kMinutesLeft), "0042") << "later fields keep their place";
}

TEST_F(DataFile, MissingFileLoadsNothingAndLogs) {
  vTable.password = "kept";
  EXPECT_EQ(LoadData(), -1);
  EXPECT_EQ(lastLoadProblem(), LoadProblem::Missing);
  EXPECT_EQ(vTable.password, "kept");
  ASSERT_EQ(logLines().size(), 1u);
  EXPECT_EQ(logLines()[0], "06/12/2026 09:05 - Admin - Could not find file " + dataPath + " to read from");
}

TEST_F(DataFile, MissingFileIsNeverCreatedBySaving) {
  SaveData();
  EXPECT_FALSE(test_files::exists(dataPath));
  ASSERT_EQ(logLines().size(), 1u);
  EXPECT_EQ(logLines()[0], "06/12/2026 09:05 - Admin - Could not find file " + dataPath + " to write to");
}

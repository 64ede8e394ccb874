#include "tests/admin/admin_fixture.h"

#include "accounting/data_file/data_file.h"
#include "admin/account_names.h"
#include "admin/admin.h"
#include "runtime/processes.h"
#include "tests/fixtures/files.h"

namespace {
int (*const kProgramLockGaveUp)() = r_lockGaveUp;

rt::Account everyNameAnAccount(const std::string& typed) {
  return {rt::AccountKind::User, typed};
}
}  // namespace

void AdminTool::SetUp() {
  AccountingTest::SetUp();
  rt::setEnv("USERNAME", "parent");
  r_lookUpAccount = everyNameAnAccount;
}

void AdminTool::TearDown() {
  r_lockGaveUp = kProgramLockGaveUp;
  r_lookUpAccount = rt::lookUpAccount;
  AccountingTest::TearDown();
}

AdminTool::Result AdminTool::run(std::vector<std::string> args, const std::string& input) {
  args.insert(args.end(), {"--file", dataPath, "--log", logPath});
  TextReader in(input);
  TextWriter out, err;
  Console console{in, out, err, false};
  const int status = runAdmin(args, console);
  return {status, out.text(), err.text()};
}

void AdminTool::seed(const std::function<void(UsageTable&)>& edit) {
  InstallDefaults();
  vTable.password = "secret";
  if (edit)
    edit(vTable);
  test_files::writeBytes(dataPath, "");
  ASSERT_TRUE(RewriteDataFile());
}

UsageTable AdminTool::stored() {
  InstallDefaults();
  // A save shorter than the file before it leaves stale bytes behind the table.
  EXPECT_GE(LoadData(), kTableFields);
  return vTable;
}

// An installation held in memory for the fuzzing targets: both databases in memory with the
// shipped reference rows, the test site, a few users, and a scratch folder of its own for the
// data file under test and the results.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/program.h"
#include "db/database.h"
#include "platform/clock.h"
#include "platform/ui.h"

namespace corvela::fuzzing {

// Swallows every message; answers No.
class SilentUi : public Ui {
  public:
    void message(const std::string&, const std::string&, Icon) override {}
    using Ui::ask_yes_no;
    bool ask_yes_no(const std::string&, const std::string&, Icon, bool) override { return false; }
    bool wants_status() override { return false; }
};

struct FuzzInstallation {
    FuzzInstallation();

    // Writes `bytes` as the data file `name` of the scratch delivery folder.
    std::filesystem::path write(const std::string& name, const uint8_t* data, size_t size);
    // Removes the outputs of the last run so that the next one writes the same names.
    void clear_results();

    std::unique_ptr<Database> work, ref;
    std::filesystem::path scratch, delivery, results_root;
    std::string results;  // results folder with its trailing separator
    SilentUi ui;
    FixedDateClock clock;
};

// The site of the fuzzing installation.
inline constexpr const char* kSite = "760010012301";

}  // namespace corvela::fuzzing

// The names an upload may give its files. A delivery comes in as the files of one folder or as
// one ZIP, and each file is kept under a plain name of a delivery's kind: a control file (CT…) or
// a data file of one of the ten types, ending in ".txt". A name may carry one folder, the same for
// every file of the upload (a folder picked in the browser, or zipped whole), which is dropped; any
// other path part, "..", an absolute name, a device name, a name given twice (letter case aside)
// or more files than a control file can list is refused, naming the file.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace corvela::web {

// The control file and the ten data files it can list.
inline constexpr size_t kMostUploadFiles = 11;

class UploadNames {
  public:
    // The plain name the file `given` is kept under, or none after setting `why` to the refusal,
    // which names the file as given.
    std::optional<std::string> admit(std::string_view given, std::string& why);
    // A folder entry of a ZIP ("entrega/"): true when it is the upload's one folder, which holds
    // nothing of its own; otherwise `why` says why the ZIP is refused.
    bool admit_folder(std::string_view given, std::string& why);
    size_t count() const { return names_.size(); }

  private:
    // Takes the folder part of a name; false when it is not the upload's one folder.
    bool same_folder(std::string_view folder);

    std::optional<std::string> folder_;
    std::set<std::string> names_;  // in upper case
};

// Why `name` is no plain name of a delivery's kind, empty when it is one.
std::string plain_name_fault(std::string_view name);

// "«NAME»", with bytes that are no printable text shown as "?": how a refusal names a file.
std::string quoted_name(std::string_view name);

}  // namespace corvela::web

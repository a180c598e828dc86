// Fuzzes a whole validation run driven by a control file: the input is the CT file of a folder
// that also holds the sample delivery's data files. The control records decide which of them are
// read and under which site and remission.
#include <fstream>

#include "app/validation_run.h"
#include "fuzz_installation.h"

using namespace corvela;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzzing::FuzzInstallation inst;
    static const bool copied = [] {
        for (const auto& entry : std::filesystem::directory_iterator(CORVELA_SAMPLE_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("CT", 0) != 0)
                std::filesystem::copy_file(entry.path(), inst.delivery / name,
                                           std::filesystem::copy_options::overwrite_existing);
        }
        return true;
    }();
    (void)copied;
    inst.write("CT000001.txt", data, size);

    Program program(inst.ui, inst.clock);
    program.config.results_root = inst.results_root.string();
    // The installation's lock file lives in the scratch folder.
    program.config.database_folder = inst.scratch.string() + "/";
    program.work = std::move(inst.work);
    program.ref = std::move(inst.ref);
    program.run_state = RunState::Initial;
    // Whatever the run ends in, the checks below look at what it left.
    (void)run_validation(program, inst.delivery);
    inst.work = std::move(program.work);
    inst.ref = std::move(program.ref);
    inst.clear_results();
    return 0;
}

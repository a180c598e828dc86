#include "fuzz_installation.h"

#include <unistd.h>

#include <fstream>

#include "app/reference_data.h"
#include "db/schema.h"
#include "platform/config.h"

namespace corvela::fuzzing {

FuzzInstallation::FuzzInstallation() : clock(Date{2026, 12, 6}) {
    // A scratch folder per process, so that parallel fuzzing jobs do not share files.
    scratch =
        std::filesystem::temp_directory_path() / ("corvela-fuzz-" + std::to_string(::getpid()));
    delivery = scratch / "entrega";
    results_root = scratch / "res";
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(delivery);
    results = results_folder(results_root.string());
    std::filesystem::create_directories(results);

    work = Database::create(":memory:");
    ref = Database::create(":memory:");
    create_working_schema(*work);
    create_reference_schema(*ref);
    load_reference_rows(*ref, *work, CORVELA_SHIPPED_REFERENCE, clock);
    Statement site = work->prepare(
        "INSERT INTO sedes VALUES (?, 'IPS de prueba', 'Ana Gómez', 'Calle 1', "
        "'555', '556')");
    site.bind(1, kSite);
    site.exec();
}

std::filesystem::path FuzzInstallation::write(const std::string& name, const uint8_t* data,
                                              size_t size) {
    std::filesystem::path path = delivery / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

void FuzzInstallation::clear_results() {
    for (const auto& entry : std::filesystem::directory_iterator(results))
        std::filesystem::remove(entry.path());
}

}  // namespace corvela::fuzzing

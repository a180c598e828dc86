// Writes a synthetic delivery for the benchmark: a control file, a users file of N users and M
// service lines for each chosen type, with a share of bad lines of several kinds. Diagnoses,
// consultation and procedure codes and municipalities are drawn from the shipped reference lists
// (those valid for either sex at any age). The same seed gives the same files.
//
//   generate_delivery DIR USERS LINES_PER_TYPE BAD_SHARE SEED [TYPES]
//   TYPES: comma-separated file types other than US (default AF,AC,AP,AU,AH,AN,AM,AT,AD)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "db/csv_reader.h"

namespace {
const char* const kIps = "760010012301";

std::string user_number(long i) {
    return std::to_string(10000000 + i);
}

// Codes of the shipped lists that fit any user.
struct Codes {
    std::vector<std::string> diagnoses, consultations, procedures, places;
    std::mt19937_64* rng = nullptr;
    const std::string& any(const std::vector<std::string>& from) const {
        return from[(*rng)() % from.size()];
    }
};

Codes shipped_codes(const std::filesystem::path& folder, std::mt19937_64& rng) {
    Codes codes;
    codes.rng = &rng;
    auto no_limits = [](const std::vector<std::string>& v, size_t sex) {
        return v[sex] == "A" && v[sex + 1] == "0" && v[sex + 2] == "0";
    };
    for (const auto& row : corvela::read_csv(folder / "r_cie10.csv").rows)
        if (no_limits(row.values, 2)) codes.diagnoses.push_back(row.values[0]);
    for (const auto& row : corvela::read_csv(folder / "cups.csv").rows) {
        if (!no_limits(row.values, 3)) continue;
        if (row.values[1] == "AC") codes.consultations.push_back(row.values[0]);
        if (row.values[1] == "AP") codes.procedures.push_back(row.values[0]);
    }
    for (const auto& row : corvela::read_csv(folder / "r_municipios.csv").rows)
        codes.places.push_back(row.values[0] + "," + row.values[1]);
    return codes;
}

// A good record of a type for user u and record i.
std::string good_line(const Codes& c, const std::string& type, long i, long u) {
    std::string f = "FV" + std::to_string(i);
    std::string doc = std::string(",") + kIps + ",CC," + user_number(u);
    if (type == "AF")
        return std::string(kIps) + ",IPS BENCH,NI,900123456," + f +
               ",15/11/2026,01/11/2026,30/11/2026,EPS005,SANITAS EPS,C1,PB,,0,0,0,100000";
    if (type == "AC")
        return f + doc + ",15/11/2026,," + c.any(c.consultations) + ",10,13," + c.any(c.diagnoses) +
               ",,,,1,30000,0,30000";
    if (type == "AP") return f + doc + ",15/11/2026,," + c.any(c.procedures) + ",1,2,,,,,,15000";
    if (type == "AU")
        return f + doc + ",14/11/2026,08:30,,13," + c.any(c.diagnoses) +
               ",,,,1,1,,15/11/2026,10:00";
    if (type == "AH")
        return f + doc + ",1,10/11/2026,08:00,,13," + c.any(c.diagnoses) + "," +
               c.any(c.diagnoses) + ",,,,,1,,15/11/2026,12:00";
    if (type == "AN")
        return f + doc + ",15/11/2026,08:00,38,1,M,3200," + c.any(c.diagnoses) + ",,, ";
    if (type == "AM") return f + doc + ",,19943544-1,1,ACETAMINOFEN,TABLETA,500MG,MG,10,100,1000";
    if (type == "AT") return f + doc + ",,1,MAT01,JERINGA,2,500,1000";
    if (type == "AD") return f + "," + kIps + ",01,1,30000,30000";
    return f;
}

std::string user_line(const Codes& c, long i) {
    const char* sex = i % 2 ? "F" : "M";
    return "CC," + user_number(i) + ",EPS005,1,APELLIDO" + std::to_string(i % 97) + ",,NOMBRE,," +
           std::to_string(20 + i % 60) + ",1," + sex + "," + c.any(c.places) + ",U";
}

std::vector<std::string> split(const std::string& s) {
    std::vector<std::string> out;
    std::stringstream ss(s);
    std::string part;
    while (std::getline(ss, part, ',')) out.push_back(part);
    if (!s.empty() && s.back() == ',') out.push_back("");
    return out;
}

std::string join(const std::vector<std::string>& v) {
    std::string s;
    for (size_t i = 0; i < v.size(); ++i) s += (i ? "," : "") + v[i];
    return s;
}

// A bad line of one of several kinds made from a good one.
std::string bad_line(const std::string& good, int kind) {
    auto f = split(good);
    switch (kind % 7) {
        case 0:
            return "";  // empty line
        case 1:
            return good + ",SOBRA";  // one field too many
        case 2:
            f[2] = "XX";
            return join(f);  // unknown code
        case 3:
            f[3] = "9" + f[3];
            return join(f);  // unknown user / bad number
        case 4:
            f[4] = "31/02/2026";
            return join(f);  // a day that does not exist
        case 5:
            f[0] = std::string(70, 'X');
            return join(f);  // over-long field
        default:
            f.pop_back();
            return join(f);  // one field missing
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr,
                     "uso: %s DIR USUARIOS LINEAS_POR_TIPO PROPORCION_MALAS SEMILLA [TIPOS]\n",
                     argv[0]);
        return 2;
    }
    std::filesystem::path dir = argv[1];
    long users = std::atol(argv[2]);
    long lines = std::atol(argv[3]);
    double bad = std::atof(argv[4]);
    std::mt19937_64 rng(std::strtoull(argv[5], nullptr, 10));
    const Codes codes = shipped_codes(CORVELA_SHIPPED_REFERENCE, rng);
    std::vector<std::string> types = split(argc > 6 ? argv[6] : "AF,AC,AP,AU,AH,AN,AM,AT,AD");
    std::filesystem::create_directories(dir);
    std::uniform_real_distribution<double> coin(0, 1);
    std::uniform_int_distribution<long> pick(0, users > 0 ? users - 1 : 0);

    std::ofstream ct(dir / "CT000001.txt", std::ios::binary);
    auto write_file = [&](const std::string& type, long count, auto make) {
        std::ofstream out(dir / (type + "000001.txt"), std::ios::binary);
        std::string buffer;
        for (long i = 0; i < count; ++i) {
            std::string line = make(i);
            if (coin(rng) < bad) line = bad_line(line, static_cast<int>(rng() % 7));
            buffer += line;
            buffer += "\r\n";
            if (buffer.size() > (1 << 20)) {
                out << buffer;
                buffer.clear();
            }
        }
        out << buffer;
        ct << kIps << ",30/11/2026," << type << "000001," << count << "\r\n";
    };
    write_file("US", users, [&](long i) { return user_line(codes, i); });
    for (const auto& type : types)
        write_file(type, lines, [&](long i) { return good_line(codes, type, i, pick(rng)); });
    return 0;
}

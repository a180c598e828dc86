// A delivery as the program holds it: its header and its control records, with what the run
// counted of the data file each record names. The program owns the delivery of its last run: the
// run fills it, the save stores it, the windows and the command line show and complete it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "rules/counters.h"

namespace corvela {

// The sending IPS with its contact data (from the habilitated sites), and the remission number,
// remission date and reported period (from the first control record).
struct DeliveryHeader {
    std::string ips_code;
    std::string ips_name;
    std::string sender;
    std::string address;
    std::string telephone;
    std::string fax;
    std::string remission;  // the remission number
    std::string remission_date;
    std::string period;  // the reported period
    bool operator==(const DeliveryHeader&) const = default;
};

// What validating one data file counted, and where its outputs went (empty when the file ended
// before they were opened).
struct FileCounts {
    long lines_read = 0;
    long lines_passed = 0;
    Counters counters;
    std::filesystem::path error_file, accepted_file;
    // The database kept nothing of the file (a full disk, a server gone away): the counts are
    // zero, as what is stored, and the run cannot go on.
    bool lost = false;
};

// One record of the control file, its fields trimmed (a field the record lacks is absent), and
// what the run counted of the data file it names.
struct ControlRecord {
    std::optional<std::string> ips_code, remission_date, file_code, declared_count;
    // A fifth field, kept until the run counts the record's file: its lines read take its place.
    std::optional<std::string> fifth_field;
    std::optional<double> lines_read, lines_passed;
    // This run's validation of the record's file (absent when the run did not validate it).
    std::optional<FileCounts> validated;

    // The record's first fields as at most five texts of a control line (a sixth is dropped).
    static ControlRecord from_fields(const std::vector<std::string>& fields);

    std::string code() const { return file_code.value_or(std::string()); }
    std::string declared() const { return declared_count.value_or(std::string()); }
    // The lines read; before its file is counted, the fifth field's leading number; else 0.
    double read() const;
    double passed() const { return lines_passed.value_or(0); }
    // Whether the record has lines read or a fifth field in their place.
    bool has_read() const { return lines_read || fifth_field; }
    // The lines read, or the fifth field, as kept in the working database; absent when neither.
    std::optional<std::string> read_text() const;
    std::optional<std::string> passed_text() const;
    // The lines read or the fifth field from its kept text: a number is a count.
    void set_read_text(const std::string& text);
    void set_passed_text(const std::string& text);

    // Takes what validating the record's file counted.
    void count(const FileCounts& counts);
    // The four fields of the control line trade places with those of `other`; the fifth field
    // and the counts stay where they are.
    void swap_fields(ControlRecord& other);
};

struct Delivery {
    DeliveryHeader header;
    // The control-file table: one row per record, as many rows as the folder listed files and one
    // more; a row without a record is empty.
    std::vector<ControlRecord> records;
    // The internal radicación number: 0 until the delivery is saved.
    double radicacion = 0;
};

}  // namespace corvela

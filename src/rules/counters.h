// The thirty counters of a data file, named: counter k up to the file's field count counts the
// errors of field k; the codes from 21 count kinds of error not tied to one field. They go to the
// file's `ERRORES` row as `C1` .. `C30`.
#pragma once

#include <array>

namespace corvela {

// Some codes count another kind in another file type: each name says where it is used.
enum class Counter {
    None = 0,                     // counts nothing
    Structure = 21,               // a line empty, too long or with another field count
    NonNumericIdCard = 22,        // a "CC" number that is not numeric
    NoUser = 23,                  // services: no validated user has the record's document
    AgeUnit = 23,                 // users: an age that does not fit its unit
    IssuedBeforeStart = 23,       // invoices: issued before the period starts
    DiagnosisSex = 24,            // services: the user's sex does not fit the (admission) diagnosis
    Municipality = 24,            // users: department and municipality do not match
    IssuedAfterRemission = 24,    // invoices: issued after the remission
    DischargeDiagnosisSex = 25,   // hospitalisations: sex against the discharge diagnosis
    DeathDiagnosis = 25,          // hospitalisations: sex or age against the cause of death
    TwoCharacterDocument = 25,    // procedures: a non-numeric "CC" number of two characters
    StartAfterEnd = 25,           // invoices: the period starts after it ends
    AdmittedAfterDischarge = 26,  // hospitalisations: admitted after discharge
    DocumentLength = 29,          // the length notes of the document check
};

// The counter of the errors of field k.
constexpr Counter field_counter(int k) {
    return static_cast<Counter>(k);
}

// The counter `C<code>` of the `ERRORES` row, for code 1 .. 30.
constexpr Counter counter_of_code(int code) {
    return static_cast<Counter>(code);
}

class Counters {
  public:
    static constexpr int kCount = 30;

    // The count of `c`; 0 for a code outside 1 .. 30.
    double operator[](Counter c) const { return counts(c) ? values_[slot(c)] : 0; }
    // One more in `c`; a code outside 1 .. 30 changes nothing.
    void add(Counter c) {
        if (counts(c)) values_[slot(c)] += 1;
    }
    void clear() { values_.fill(0); }
    // The counts of C1 .. C30 in order.
    auto begin() const { return values_.begin(); }
    auto end() const { return values_.end(); }

  private:
    static constexpr bool counts(Counter c) {
        return static_cast<int>(c) >= 1 && static_cast<int>(c) <= kCount;
    }
    static constexpr size_t slot(Counter c) { return static_cast<size_t>(static_cast<int>(c) - 1); }

    std::array<double, kCount> values_{};
};

}  // namespace corvela

// "Guardar Registros": saving the delivery of the last run. The save draws the next radicación
// number, writes the bookkeeping rows (`registros`, `periodos`, `radicacion`), stamps the working
// tables and the error table with the number and copies every working table into its final table,
// all inside one transaction: a failure leaves the database as it was and the run state "N".
#pragma once

#include <string>

#include "app/program.h"

namespace corvela {

// How an operation started by a button ended.
enum class Outcome {
    Done,     // it did its work
    Stopped,  // it stopped on a message or a No answer, changing nothing
    Failed,   // a failure was shown; nothing of it stayed
};

// The save check (blank header boxes, run state), then `contar_almacena`, then run state "S".
Outcome Cmdgraba_Click(Program& program);

// The save itself, one transaction. On success the header boxes are cleared, the months grid is
// refreshed (now empty), `program.radicacion` holds the new number and the end message is shown.
Outcome contar_almacena(Program& program);

// The message of a failure in an operation on stored data: "Se presento el Error # ..." with the
// given file word, title "Error".
void show_failure(Ui& ui, const std::exception& e, const std::string& file_word);

}  // namespace corvela

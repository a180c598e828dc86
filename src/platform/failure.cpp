#include "platform/failure.h"

#include <cerrno>
#include <system_error>

#include "platform/text.h"

namespace corvela {

std::string system_failure_text(int number) {
    switch (number) {
        case ENOENT:
            return "No existe el archivo o la carpeta";
        case EACCES:
            return "Permiso denegado";
        case EISDIR:
            return "Es una carpeta";
        case ENOTDIR:
            return "No es una carpeta";
        case ENOSPC:
            return "No queda espacio en el disco";
        case EROFS:
            return "El disco es de solo lectura";
        case EIO:
            return "Error de entrada y salida";
        default:
            return std::generic_category().message(number);
    }
}

FailureInfo describe_failure(const std::exception& e) {
    if (auto* s = dynamic_cast<const std::system_error*>(&e)) {
        const std::error_code& code = s->code();
        // The C library's numbers (the system's too, outside Windows); another category's keep
        // their text.
        bool c_numbers = code.category() == std::generic_category();
#ifndef _WIN32
        c_numbers = c_numbers || code.category() == std::system_category();
#endif
        if (c_numbers) return {code.value(), system_failure_text(code.value())};
        return {code.value(), code.message()};
    }
    if (auto* s = dynamic_cast<const NumberedFailure*>(&e)) return {s->number, s->what()};
    return {0, e.what()};
}

std::string failure_message(int number, std::string_view where, std::string_view description) {
    return "Se presento el Error # " + number_text(number) + std::string(where) + "\r\r" +
           std::string(description);
}

void show_failure(Ui& ui, const std::exception& e, std::string_view where,
                  const std::string& hint) {
    FailureInfo f = describe_failure(e);
    const std::string text = failure_message(f.number, where, f.description);
    if (hint.empty())
        ui.message(text, "Error", Icon::Critical);
    else
        ui.message_with_hint(text, "Error", Icon::Critical, hint);
}

}  // namespace corvela

#include "gui/page_opening.h"

#include <QString>
#include <QtGlobal>
#include <filesystem>

namespace corvela::gui {

namespace {
// Qt reports why the default program could not be started through its message handler; while an
// opening is under way the handler also keeps the last warning. One thread runs the windows.
std::string* g_warning = nullptr;
QtMessageHandler g_previous = nullptr;

void keep_warning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (g_warning && type != QtDebugMsg && type != QtInfoMsg) *g_warning = text.toStdString();
    if (g_previous) g_previous(type, context, text);
}

class WarningCapture {
  public:
    explicit WarningCapture(std::string& into) {
        g_warning = &into;
        g_previous = qInstallMessageHandler(keep_warning);
    }
    ~WarningCapture() {
        qInstallMessageHandler(g_previous);
        g_warning = nullptr;
        g_previous = nullptr;
    }
    WarningCapture(const WarningCapture&) = delete;
    WarningCapture& operator=(const WarningCapture&) = delete;
};
}  // namespace

PageOpening open_page(const std::function<bool(const std::string&)>& opener,
                      const std::string& path) {
    PageOpening result;
    std::string warning;
    {
        WarningCapture capture(warning);
        result.opened = opener(path);
    }
    if (!result.opened) result.reason = warning;
    return result;
}

std::string page_saved_text(const std::string& path, const std::string& reason) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    std::string text = "La página se guardó en " + (ec ? path : full.string()) + ".";
    if (!reason.empty()) text += "\r" + reason;
    return text;
}

}  // namespace corvela::gui

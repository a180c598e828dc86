// The built corvela-web on a loopback port over a test installation (also on the test server):
// log-in and its refusals, the cookie, CSRF, log-out, the accounts of `corvela usuarios`, plain
// HTTP off loopback, and TLS with a certificate made for the test.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <thread>

#include "web/running_service.h"

namespace corvela {
namespace {

using nlohmann::json;
using testing::Browser;
using testing::Installation;
using testing::read_file;
using testing::RunningService;
using testing::usuarios;

class WebService : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(usuarios(inst_, "add ana", "clave-de-ana"), 0); }
    Installation inst_;
};

TEST_F(WebService, LogInRefusesWrongPasswordsAndUnknownNamesAlikeAndSlowsRepeats) {
    RunningService service(inst_);
    ASSERT_GT(service.port(), 0) << service.output();
    httplib::Client client("127.0.0.1", service.port());
    Browser browser(client);

    const auto wrong = browser.log_in("ana", "clave-de-otra");
    const auto unknown = browser.log_in("nadie", "clave-de-ana");
    ASSERT_TRUE(wrong && unknown);
    EXPECT_EQ(wrong->status, 401);
    EXPECT_EQ(unknown->status, 401);
    EXPECT_EQ(wrong->body, unknown->body);
    EXPECT_EQ(json::parse(wrong->body)["error"], "Usuario o contraseña incorrectos.");
    EXPECT_TRUE(wrong->get_header_value("Set-Cookie").empty());

    // Right after a failure even the right password waits, with no word on which part failed.
    const auto slowed = browser.log_in("ana", "clave-de-ana");
    EXPECT_EQ(slowed->status, 429);
    EXPECT_EQ(slowed->get_header_value("Retry-After"), "1");
    EXPECT_TRUE(slowed->get_header_value("Set-Cookie").empty());

    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    const auto done = browser.log_in("ANA", "clave-de-ana");
    ASSERT_EQ(done->status, 200) << done->body;
    EXPECT_EQ(json::parse(done->body)["puesto"], "principal");
    EXPECT_EQ(json::parse(done->body)["usuario"], "ana");
    EXPECT_TRUE(std::regex_match(browser.set_cookie,
                                 std::regex("corvela_sesion=[0-9a-f]{64}; Path=/; HttpOnly; "
                                            "SameSite=Strict")))
        << browser.set_cookie;
    EXPECT_EQ(browser.session_status(), 200);

    // A new log-in gives a new identifier and ends the session the browser had.
    const std::string before = browser.cookie;
    ASSERT_EQ(browser.log_in("ana", "clave-de-ana")->status, 200);
    EXPECT_NE(browser.cookie, before);
    EXPECT_EQ(client.Get("/api/sesion", {{"Cookie", before}})->status, 401);
    EXPECT_EQ(browser.session_status(), 200);
}

TEST_F(WebService, ChangesNeedTheSessionsCsrfTokenAndLogOutEndsTheSessionOnTheServer) {
    RunningService service(inst_);
    ASSERT_GT(service.port(), 0) << service.output();
    httplib::Client client("127.0.0.1", service.port());
    Browser browser(client);
    ASSERT_EQ(browser.log_in("ana", "clave-de-ana")->status, 200);
    Browser other(client);
    ASSERT_EQ(other.log_in("ana", "clave-de-ana")->status, 200);

    EXPECT_EQ(browser.log_out("")->status, 403);
    EXPECT_EQ(browser.log_out(other.csrf)->status, 403) << "another session's token";
    EXPECT_EQ(browser.log_out(std::string(64, '0'))->status, 403);
    EXPECT_EQ(browser.session_status(), 200);

    const auto out = browser.log_out(browser.csrf);
    EXPECT_EQ(out->status, 200);
    EXPECT_NE(out->get_header_value("Set-Cookie").find("Max-Age=0"), std::string::npos);
    // The old cookie, sent again, opens nothing; the other session goes on.
    EXPECT_EQ(browser.session_status(), 401);
    EXPECT_EQ(browser.log_out(browser.csrf)->status, 401);
    EXPECT_EQ(other.session_status(), 200);
}

TEST_F(WebService, UsuariosCommandsAddChangeAndRemoveAccounts) {
    std::string out;
    EXPECT_EQ(usuarios(inst_, "add ana", "otra-clave-1", &out), 2);
    EXPECT_NE(out.find("La cuenta ana ya existe."), std::string::npos) << out;
    EXPECT_EQ(usuarios(inst_, "add 'con espacio'", "clave-larga", &out), 2);
    EXPECT_EQ(usuarios(inst_, "add bea", "corta", &out), 2);
    EXPECT_NE(out.find("al menos 8 caracteres"), std::string::npos) << out;
    EXPECT_EQ(usuarios(inst_, "add bea --desk caja9", "clave-de-bea", &out), 2) << out;
    ASSERT_EQ(usuarios(inst_, "add bea", "clave-de-bea", &out), 0) << out;
    EXPECT_NE(out.find("Cuenta bea creada en el puesto principal."), std::string::npos) << out;
    EXPECT_EQ(usuarios(inst_, "passwd nadie", "clave-nueva-1", &out), 2);
    EXPECT_EQ(usuarios(inst_, "list", "", &out), 0);
    EXPECT_TRUE(std::regex_search(out, std::regex("\nana +principal +\\d{4}-\\d\\d-\\d\\d "
                                                  "\\d\\d:\\d\\d\nbea +principal ")))
        << out;
    // The password is kept only as its hash.
    EXPECT_EQ(out.find("clave-de"), std::string::npos);
    EXPECT_EQ(
        inst_.rows("SELECT nombre FROM cuentas_web WHERE clave LIKE '$argon2id$%' ORDER BY nombre"),
        (std::vector<std::string>{"ana", "bea"}));

    RunningService service(inst_);
    ASSERT_GT(service.port(), 0) << service.output();
    httplib::Client client("127.0.0.1", service.port());
    Browser ana(client), bea(client);
    ASSERT_EQ(ana.log_in("ana", "clave-de-ana")->status, 200);
    ASSERT_EQ(bea.log_in("bea", "clave-de-bea")->status, 200);

    // A changed password ends the account's sessions and takes the new one only.
    ASSERT_EQ(usuarios(inst_, "passwd ana", "clave-nueva-1", &out), 0) << out;
    EXPECT_EQ(ana.session_status(), 401);
    EXPECT_EQ(ana.log_in("ana", "clave-nueva-1")->status, 200);
    EXPECT_EQ(ana.log_in("ana", "clave-de-ana")->status, 401);

    // So does a removed account.
    ASSERT_EQ(usuarios(inst_, "remove bea", "", &out), 0) << out;
    EXPECT_EQ(bea.session_status(), 401);
    EXPECT_EQ(bea.log_in("bea", "clave-de-bea")->status, 401);
    EXPECT_EQ(usuarios(inst_, "remove bea", "", &out), 2);

    // An installation made before accounts gets their table at its first command.
    inst_.work().exec("DROP TABLE cuentas_web");
    EXPECT_EQ(usuarios(inst_, "add carla", "clave-de-carla", &out), 0) << out;
    EXPECT_EQ(inst_.rows("SELECT nombre, puesto FROM cuentas_web"),
              (std::vector<std::string>{"carla|principal"}));
}

TEST_F(WebService, PlainHttpOnlyOnLoopbackAndSecureCookiesBehindTheProxy) {
    {
        RunningService open(inst_, {"--listen", "0.0.0.0:0"});
        EXPECT_EQ(open.exit_status(), 2);
        EXPECT_NE(open.output().find("--tls-cert"), std::string::npos) << open.output();
    }
    std::ofstream(inst_.config, std::ios::app) << "web_proxy_tls=si\r\n";
    RunningService service(inst_);
    ASSERT_GT(service.port(), 0) << service.output();
    httplib::Client client("127.0.0.1", service.port());
    Browser browser(client);
    ASSERT_EQ(browser.log_in("ana", "clave-de-ana")->status, 200);
    EXPECT_TRUE(browser.set_cookie.ends_with("; Secure")) << browser.set_cookie;
}

TEST_F(WebService, ServesTlsWithItsCertificate) {
    const auto cert = inst_.dir / "cert.pem", key = inst_.dir / "key.pem";
    const std::string make =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
        "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
        key.string() + "' -out '" + cert.string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
    RunningService service(inst_, {"--tls-cert", cert.string(), "--tls-key", key.string()});
    ASSERT_GT(service.port(), 0) << service.output();
    EXPECT_NE(service.output().find("https://"), std::string::npos);

    httplib::Client client("https://127.0.0.1:" + std::to_string(service.port()));
    client.set_ca_cert_path(cert.string());
    client.enable_server_certificate_verification(true);
    httplib::Client plain_client("127.0.0.1", service.port());
    Browser browser(client);
    const auto done = browser.log_in("ana", "clave-de-ana");
    ASSERT_TRUE(done) << httplib::to_string(done.error());
    EXPECT_EQ(done->status, 200);
    EXPECT_TRUE(browser.set_cookie.ends_with("; HttpOnly; SameSite=Strict; Secure"))
        << browser.set_cookie;
    // Plain HTTP on the TLS port gets no answer.
    const auto plain = plain_client.Get("/api/sesion");
    EXPECT_TRUE(!plain || plain->status >= 400);

    // A key that does not load stops the service with a message.
    RunningService broken(inst_, {"--tls-cert", cert.string(), "--tls-key", cert.string()});
    EXPECT_EQ(broken.exit_status(), 2);
    EXPECT_NE(broken.output().find("No se pudo cargar el certificado"), std::string::npos)
        << broken.output();
}

}  // namespace
}  // namespace corvela

// The web service's frame on its own: sessions ending when idle, the delays of failed log-ins,
// where the service may listen, and its settings read from the configuration file.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/config.h"
#include "support/installation.h"
#include "web/listen_address.h"
#include "web/login_throttle.h"
#include "web/sessions.h"

namespace corvela::web {
namespace {

using namespace std::chrono_literals;

// A steady clock the test moves by hand.
struct HandClock {
    std::chrono::steady_clock::time_point now{};
    SteadyNow reader() {
        return [this] { return now; };
    }
};

TEST(Sessions, EndWhenIdleOrClosedAndNeverRepeatAnIdentifier) {
    HandClock clock;
    SessionTable sessions(30min, clock.reader());
    const Account ana{"ana", "principal", "hash", ""};
    const Session first = sessions.open(ana);
    const Session second = sessions.open(ana);
    EXPECT_EQ(first.id.size(), 64u);  // 256 bits in hexadecimal
    EXPECT_NE(first.id, second.id);
    EXPECT_NE(first.csrf, second.csrf);
    EXPECT_NE(first.id, first.csrf);

    // Each request starts the idle time again.
    clock.now += 29min;
    EXPECT_TRUE(sessions.touch(first.id));
    clock.now += 29min;
    EXPECT_TRUE(sessions.touch(first.id));
    EXPECT_FALSE(sessions.touch(second.id)) << "58 minutes idle";
    clock.now += 30min;
    EXPECT_FALSE(sessions.touch(first.id)) << "30 minutes idle";
    // Once refused, it stays ended.
    clock.now -= 1min;
    EXPECT_FALSE(sessions.touch(first.id));

    const Session third = sessions.open(ana);
    sessions.close(third.id);
    EXPECT_FALSE(sessions.touch(third.id));
    EXPECT_FALSE(sessions.touch(""));
}

TEST(LoginThrottle, DelaysGrowPerNameAndPerAddress) {
    HandClock clock;
    LoginThrottle throttle(clock.reader());
    // A name waits from its first failure, doubling; letter case does not make another name.
    EXPECT_EQ(throttle.wait_seconds("ana", "10.0.0.1"), 0);
    throttle.failed("ana", "10.0.0.1");
    EXPECT_EQ(throttle.wait_seconds("ANA", "10.0.0.2"), 1);
    throttle.failed("ana", "10.0.0.1");
    throttle.failed("ana", "10.0.0.1");
    EXPECT_EQ(throttle.wait_seconds("ana", "10.0.0.2"), 4);
    clock.now += 3s;
    EXPECT_EQ(throttle.wait_seconds("ana", "10.0.0.2"), 1);
    // An address waits after its fourth failure, whatever the names tried.
    EXPECT_EQ(throttle.wait_seconds("bea", "10.0.0.1"), 0);
    throttle.failed("carla", "10.0.0.1");
    throttle.failed("dora", "10.0.0.1");
    EXPECT_EQ(throttle.wait_seconds("bea", "10.0.0.1"), 1);
    // A good log-in clears its name, not the address.
    throttle.succeeded("ana");
    EXPECT_EQ(throttle.wait_seconds("ana", "10.0.0.2"), 0);
    EXPECT_GT(throttle.wait_seconds("ana", "10.0.0.1"), 0);
    // The delay stops growing at five minutes, and failures are forgotten after a quarter of an
    // hour.
    for (int i = 0; i < 20; ++i) throttle.failed("eva", "10.0.0.3");
    EXPECT_EQ(throttle.wait_seconds("eva", "10.0.0.4"), 300);
    clock.now += 15min;
    EXPECT_EQ(throttle.wait_seconds("eva", "10.0.0.3"), 0);
}

TEST(ListenAddress, LoopbackOnlyWithoutTls) {
    for (const char* text : {"127.0.0.1", "127.0.0.1:65536", "::1:80", ":80"})
        EXPECT_FALSE(parse_listen_address(text)) << text;
    // Plain HTTP only on the loopback, TLS or a proxy's TLS anywhere.
    auto listens = [](const char* text, bool plainly) {
        const auto address = parse_listen_address(text);
        ASSERT_TRUE(address) << text;
        EXPECT_EQ(listening_fault(*address, false, false).empty(), plainly) << text;
        EXPECT_EQ(listening_fault(*address, true, false), "") << text;
        EXPECT_EQ(listening_fault(*address, false, true), "") << text;
    };
    for (const char* text : {"127.0.0.1:8080", "127.1.2.3:0", "localhost:80", "[::1]:8443"})
        listens(text, true);
    for (const char* text :
         {"0.0.0.0:8080", "192.168.1.10:8080", "[::]:8080", "127.0.0.256:80", "128.0.0.1:80"})
        listens(text, false);
}

TEST(WebSettings, ReadAfterTheFirstLineWithTheirDefaults) {
    struct Case {
        const char* lines;
        const char* fault;  // part of the failure's text, or "" when the file reads
        WebSettings expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"", "", {false, 500, 7, 30}},
             {"web_proxy_tls=si\r\nweb_subida_mb=20\r\nWEB_RETENCION_DIAS = 2\r\n"
              "web_sesion_minutos=5\r\n",
              "",
              {true, 20, 2, 5}},
             {"web_proxy_tls=Sí\n", "", {true, 500, 7, 30}},
             {"web_proxy_tls=tal vez\n", "web_proxy_tls", {}},
             {"web_sesion_minutos=0\n", "web_sesion_minutos", {}},
             {"web_subida_mb=-5\n", "web_subida_mb", {}},
             {"web_retencion_dias=siete\n", "web_retencion_dias", {}}}) {
        const testing::TempFolder folder;
        const auto path = folder / "corvela-web.ini";
        std::ofstream(path, std::ios::binary) << "/tmp/db/,/tmp\r\n" << c.lines;
        const auto read = read_configuration(path);
        ASSERT_EQ(read.ok(), std::string(c.fault).empty()) << c.lines;
        if (!read.ok()) {
            EXPECT_NE(read.why().find(c.fault), std::string::npos) << read.why();
            continue;
        }
        const WebSettings& web = read.value().web;
        EXPECT_EQ(web.proxy_tls, c.expected.proxy_tls) << c.lines;
        EXPECT_EQ(web.upload_mb, c.expected.upload_mb) << c.lines;
        EXPECT_EQ(web.retention_days, c.expected.retention_days) << c.lines;
        EXPECT_EQ(web.session_minutes, c.expected.session_minutes) << c.lines;
    }
}

}  // namespace
}  // namespace corvela::web

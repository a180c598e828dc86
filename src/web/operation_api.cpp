#include "web/operation_api.h"

#include "web/request_guard.h"

namespace corvela::web {

namespace {
constexpr auto kHeartbeat = std::chrono::seconds(15);

// The event's lines of the stream.
std::string event_text(const Event& e) {
    return "id: " + std::to_string(e.id) + "\nevent: " + e.name + "\ndata: " + e.data + "\n\n";
}

void stream_events(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    auto work = state.works.of(session->id);
    // A stream opened again resumes after the last event it had; a new one starts from now.
    uint64_t after = req.get_header_value<uint64_t>("Last-Event-ID");
    if (!req.has_header("Last-Event-ID")) after = work->events.last_id();
    const uint64_t stream = work->events.open_stream();
    res.set_header("X-Accel-Buffering", "no");  // a proxy in front passes each event at once
    res.set_chunked_content_provider(
        "text/event-stream",
        [&state, work, stream, after, id = session->id](size_t offset,
                                                        httplib::DataSink& sink) mutable {
            // The first lines at once, so that the browser knows the stream is open; they also
            // set its reconnection delay.
            if (offset == 0) {
                const std::string opening = "retry: 3000\n\n";
                return sink.write(opening.data(), opening.size());
            }
            const auto events = work->events.next(stream, after, kHeartbeat);
            // Replaced by a newer stream, or the session ended.
            if (!events) {
                sink.done();
                return true;
            }
            std::string text;
            for (const auto& e : *events) {
                text += event_text(e);
                after = e.id;
            }
            if (events->empty()) {
                // The open stream keeps its session alive; an ended session ends it.
                if (!state.sessions.touch(id)) {
                    sink.done();
                    return true;
                }
                text = ": latido\n\n";
            }
            return sink.write(text.data(), text.size());
        },
        [work, stream](bool) { work->events.close_stream(stream); });
}

void show_operation(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    auto work = state.works.of(session->id);
    std::shared_ptr<Operation> operation;
    {
        std::lock_guard lock(work->mutex);
        operation = work->operation;
    }
    if (!operation) return refuse(res, 404, "Esta sesión no tiene operaciones.");
    reply(res, 200, operation->state());
}

void answer_question(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    const auto body = nlohmann::json::parse(req.body, nullptr, false);
    if (!body.is_object() || !body.contains("pregunta") || !body["pregunta"].is_number_unsigned() ||
        !body.contains("respuesta"))
        return refuse(res, 400, "La respuesta lleva \"pregunta\" (su número) y \"respuesta\".");
    auto work = state.works.of(session->id);
    std::shared_ptr<Operation> operation;
    {
        std::lock_guard lock(work->mutex);
        operation = work->operation;
    }
    if (!operation || !operation->answer(body["pregunta"].get<uint64_t>(), body["respuesta"]))
        return refuse(res, 409, "Esa pregunta no espera respuesta, o la respuesta no le sirve.");
    reply(res, 200, {{"respondida", true}});
}
}  // namespace

void start_operation(ServiceState& state, const Session& session, httplib::Response& res,
                     const std::string& kind, Operation::Body body) {
    auto work = state.works.of(session.id);
    auto operation = state.works.new_operation(*work, kind);
    if (!operation)
        return refuse(res, 409,
                      "Esta sesión tiene una operación en curso: espere a que termine o responda "
                      "su pregunta.");
    operation->start(std::move(body));
    reply(res, 202, {{"operacion", operation->id()}});
}

void add_operation_routes(httplib::Server& server, ServiceState& state) {
    server.Get("/api/eventos", bound(state, stream_events));
    server.Get("/api/operacion", bound(state, show_operation));
    server.Post("/api/operacion/respuesta", bound(state, answer_question));
}

}  // namespace corvela::web

// The application server's cost of a job request, measured in one run against
// what it is made of:
//   - Request on a server object made in this process, and through vksocketd
//     over a loopback socket;
//   - a raw MessagePack round trip of the same request frame with an echo
//     server that does nothing else (the wire module only);
//   - a raw single-row insert of a job row into a copy of the job table, with
//     the module's connection settings (WAL, synchronous NORMAL);
//   - 8 socket clients calling Request at once: latency percentiles.
// The ratios are printed against their goals at the end:
//   in process <= 2 x raw insert; socket <= 1.5 x (round trip + insert);
//   p99 < 5 ms with 8 clients.
//
// Usage: server_bench [--clients-only | --no-clients] [Google Benchmark
// options]; needs vksocketd, ReportCounterS.dll and PilgarServerS.dll beside
// it. --clients-only runs the concurrent clients alone, --no-clients leaves
// them out (for profiling the single calls).

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/remote/SocketConnection.h"
#include "platform/remote/Wire.h"
#include "suite/ReportCounterS/test/SampleRequest.h"
#include "suite/db/Database.h"
#include "suite/db/TaggedJson.h"
#include "suite/db/TestInstallation.h"
#include "suite/db/TestProcesses.h"

namespace {

using platform::VarArrayOf;
using platform::Variant;
using Clock = std::chrono::steady_clock;
namespace wire = platform::remote;

constexpr char kServerClass[] = "ReportCounterS.dmReportCounter";
constexpr int kClients = 8;
constexpr int kCallsPerClient = 250;

// A goods-receipt job as the report window sends it: 15 conditions, wide
// texts, bounds from 1.
Variant JobRequest() {
  reportcounter::test::TSampleRequest shape;
  shape.Conditions = 15;
  Variant request = reportcounter::test::SampleJobRequest(shape);
  request[2][4] = VarArrayOf({Variant(u"\x05"), VarArrayOf({Variant(u"S0001"), Variant(u"华东")}),
                              VarArrayOf({Variant(u"S0002"), Variant(u"华南")})});
  request[2][7] = VarArrayOf({Variant(int32_t{1}), Variant(u"已审核")});
  return request;
}

void NoDelay(int fd) {
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

bool SendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

// Reads until a whole frame is there; false when the peer closed.
bool ReadFrame(int fd, wire::FrameReader& reader, std::string& body) {
  char buffer[64 * 1024];
  while (!reader.TakeFrame(body)) {
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    reader.Feed(std::string_view(buffer, static_cast<size_t>(n)));
  }
  return true;
}

// The wire and nothing else: decodes each request and answers a job
// identifier, on one connection at a time.
class EchoServer {
 public:
  EchoServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener_, 4) != 0)
      throw std::runtime_error("echo server: cannot listen");
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~EchoServer() {
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    thread_.join();
  }
  int Port() const { return port_; }

 private:
  void Serve() {
    for (;;) {
      const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) return;
      NoDelay(fd);
      wire::FrameReader reader(wire::WireLimits{}.MaxFrameBytes);
      std::string body;
      while (ReadFrame(fd, reader, body)) {
        const wire::Request request = wire::DecodeRequest(body);
        wire::Reply reply;
        reply.CallId = request.CallId;
        reply.Result = Variant("0000000120240305120000");
        if (!SendAll(fd, wire::EncodeReplyFrame(reply))) break;
      }
      ::close(fd);
    }
  }
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
};

std::unique_ptr<wire::TSocketConnection> Connect(int port) {
  auto connection = std::make_unique<wire::TSocketConnection>();
  connection->SetAddress("localhost");
  connection->SetPort(port);
  connection->SetServerName(kServerClass);
  connection->Open();
  return connection;
}

// What the benchmarks share, made once in main.
struct World {
  std::unique_ptr<suitedb::TestInstallation> Install;
  std::unique_ptr<suitedb::TSocketDaemon> Daemon;
  std::unique_ptr<EchoServer> Echo;
  Variant Request;
};
World* world = nullptr;

void CheckId(benchmark::State& state, const Variant& answer) {
  if (answer.AsString() == "ERROR") state.SkipWithError("the server refused the request");
}

void BM_RequestInProcess(benchmark::State& state) {
  const Variant server(platform::CreateOleObject(kServerClass));
  for (auto _ : state) CheckId(state, platform::CallMethod(server, "Request", {world->Request}));
}

void BM_RequestSocket(benchmark::State& state) {
  const auto connection = Connect(world->Daemon->Port());
  const Variant server = connection->AppServer();
  for (auto _ : state) CheckId(state, platform::CallMethod(server, "Request", {world->Request}));
}

void BM_WireRoundTrip(benchmark::State& state) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(world->Echo->Port()));
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    state.SkipWithError("cannot reach the echo server");
    return;
  }
  NoDelay(fd);
  wire::FrameReader reader(wire::WireLimits{}.MaxFrameBytes);
  wire::Request request;
  request.ServerClass = kServerClass;
  request.Operation = "Request";
  std::string body;
  for (auto _ : state) {
    ++request.CallId;
    request.Args = {world->Request};
    if (!SendAll(fd, wire::EncodeRequestFrame(request)) || !ReadFrame(fd, reader, body)) {
      state.SkipWithError("echo server gone");
      break;
    }
    benchmark::DoNotOptimize(wire::DecodeReply(body));
  }
  ::close(fd);
}

void BM_RawInsert(benchmark::State& state) {
  const std::string file = world->Install->Folder() + "raw.db";
  suitedb::Database db = suitedb::Database::Open(file, true);
  // The job table exactly as the server's database has it (made at the
  // first of the runs the library makes of this function).
  if (!db.QueryText("SELECT 1 FROM sqlite_master WHERE name = 'job'", {})) {
    suitedb::Database source = world->Install->Open();
    suitedb::Statement schema =
        source.Prepare("SELECT sql FROM sqlite_master WHERE tbl_name = 'job' AND sql IS NOT NULL");
    while (schema.Step()) db.ExecScript(schema.ColumnText(0));
  }
  const std::string json = suitedb::VariantToJsonText(world->Request);
  suitedb::Statement insert = db.Prepare(
      "INSERT INTO job (seq, job_id, operation, user_id, program_code, company_id, db_name, "
      "program_kind, gen_mode, status, created_at, run_at, updated_at, computer_name, "
      "request_json) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  int64_t seq = std::stoll(db.QueryText("SELECT coalesce(max(seq), 0) FROM job", {}).value());
  for (auto _ : state) {
    ++seq;
    insert.Reset();
    insert
        .BindAll({seq, std::to_string(seq) + "20240305120000", std::string("Request"),
                  std::string("U001"), std::string("PVQR82"), std::string("VRK"),
                  std::string("VRKDEMO"), std::string("R"), int64_t{0}, std::string("Q"),
                  std::string("2024-03-05 12:00:00"), std::string(""),
                  std::string("2024-03-05 12:00:00"), std::string(""), json})
        .Run();
  }
}

// Part of the in-process call: the request in the form it is stored in.
void BM_RequestAsJson(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(suitedb::VariantToJsonText(world->Request));
}

BENCHMARK(BM_RequestInProcess)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RequestSocket)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_WireRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RawInsert)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RequestAsJson)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The console report, keeping each benchmark's real time per iteration (us).
class Recorder : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred && run.run_type == Run::RT_Iteration)
        micros_[run.run_name.function_name] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  double Micros(const std::string& name) const {
    const auto found = micros_.find(name);
    return found == micros_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, double> micros_;
};

// Latencies (us) of kClients socket clients calling Request at the same time.
std::vector<double> ConcurrentLatencies() {
  std::vector<std::vector<double>> perClient(kClients);
  std::atomic<int> ready{0};
  std::atomic<bool> failed{false};
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([c, &perClient, &ready, &failed] {
      try {
        const auto connection = Connect(world->Daemon->Port());
        const Variant server = connection->AppServer();
        for (int i = 0; i < 10; ++i) platform::CallMethod(server, "Request", {world->Request});
        ++ready;
        while (ready.load() < kClients) std::this_thread::yield();
        std::vector<double>& mine = perClient[static_cast<size_t>(c)];
        for (int i = 0; i < kCallsPerClient; ++i) {
          const Clock::time_point start = Clock::now();
          const Variant id = platform::CallMethod(server, "Request", {world->Request});
          mine.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
          if (id.AsString() == "ERROR") failed = true;
        }
      } catch (const std::exception& e) {
        std::fprintf(stderr, "client %d: %s\n", c, e.what());
        failed = true;
        ++ready;
      }
    });
  }
  for (std::thread& t : clients) t.join();
  if (failed) throw std::runtime_error("a concurrent client failed");
  std::vector<double> all;
  for (const auto& mine : perClient) all.insert(all.end(), mine.begin(), mine.end());
  std::sort(all.begin(), all.end());
  return all;
}

double Percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return 0;
  const size_t index = static_cast<size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(index, sorted.size() - 1)];
}

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

}  // namespace

int main(int argc, char** argv) {
  bool clientsOnly = false, noClients = false;
  for (int i = 1; i < argc;) {
    const std::string_view arg = argv[i];
    if (arg != "--clients-only" && arg != "--no-clients") {
      ++i;
      continue;
    }
    (arg == "--no-clients" ? noClients : clientsOnly) = true;
    std::copy(argv + i + 1, argv + argc, argv + i);
    --argc;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  try {
    World shared;
    shared.Install = std::make_unique<suitedb::TestInstallation>(
        platform::ExcludeTrailingPathDelimiter(platform::ProgramFolder()));
    shared.Daemon = std::make_unique<suitedb::TSocketDaemon>(
        platform::ProgramFolder() + "vksocketd", shared.Install->RegistryFile());
    shared.Echo = std::make_unique<EchoServer>();
    shared.Request = JobRequest();
    world = &shared;

    Recorder recorder;
    if (!clientsOnly) benchmark::RunSpecifiedBenchmarks(&recorder);

    const std::vector<double> latencies = noClients ? std::vector<double>() : ConcurrentLatencies();
    const double inProcess = recorder.Micros("BM_RequestInProcess");
    const double socket = recorder.Micros("BM_RequestSocket");
    const double roundTrip = recorder.Micros("BM_WireRoundTrip");
    const double insert = recorder.Micros("BM_RawInsert");
    const double p50 = Percentile(latencies, 0.50) / 1000;
    const double p99 = Percentile(latencies, 0.99) / 1000;
    std::printf("\nRequest frame: %zu bytes; request as stored: %zu bytes\n",
                wire::EncodeVariant(shared.Request).size(),
                suitedb::VariantToJsonText(shared.Request).size());
    if (inProcess > 0 && insert > 0)
      std::printf("in process / raw insert            = %6.2f  (goal <= 2.0: %s)\n",
                  inProcess / insert, Verdict(inProcess <= 2 * insert));
    if (socket > 0 && roundTrip + insert > 0)
      std::printf("socket / (round trip + raw insert) = %6.2f  (goal <= 1.5: %s)\n",
                  socket / (roundTrip + insert), Verdict(socket <= 1.5 * (roundTrip + insert)));
    std::printf(
        "%d socket clients, %zu calls: p50 %.3f ms, p99 %.3f ms, max %.3f ms  (goal p99 < 5 ms: "
        "%s)\n",
        kClients, latencies.size(), p50, p99, latencies.empty() ? 0 : latencies.back() / 1000,
        Verdict(p99 < 5));
    world = nullptr;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "server_bench: %s\n", e.what());
    return 1;
  }
  benchmark::Shutdown();
  return 0;
}

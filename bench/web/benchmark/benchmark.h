// The part of Google Benchmark the frame benchmark uses, for builds where the library is not
// there (WebAssembly under node, Windows under Wine): each benchmark runs for at least half a
// second of wall time in growing batches, and its mean time per iteration is printed as Google
// Benchmark does.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace benchmark {

enum TimeUnit { kNanosecond, kMicrosecond, kMillisecond };

class State {
 public:
  State(std::int64_t argument, std::int64_t iterations)
      : argument_(argument), iterations_(iterations) {}

  struct Iterator {
    State* state;
    std::int64_t left;
    bool operator!=(const Iterator&) const {
      if (left != 0) return true;
      state->stop_ = std::chrono::steady_clock::now();
      return false;
    }
    Iterator& operator++() {
      --left;
      return *this;
    }
    // Non-trivial, like Google Benchmark's own, so an unused loop variable draws no warning.
    struct Value {
      ~Value() {}
    };
    Value operator*() const { return {}; }
  };
  Iterator begin() {
    start_ = std::chrono::steady_clock::now();
    return {this, iterations_};
  }
  Iterator end() { return {this, 0}; }

  std::int64_t range(int) const { return argument_; }
  std::int64_t iterations() const { return iterations_; }
  void SetBytesProcessed(std::int64_t bytes) { bytes_ = bytes; }
  double Seconds() const { return std::chrono::duration<double>(stop_ - start_).count(); }
  std::int64_t BytesProcessed() const { return bytes_; }

 private:
  std::int64_t argument_;
  std::int64_t iterations_;
  std::int64_t bytes_ = 0;
  std::chrono::steady_clock::time_point start_{};
  std::chrono::steady_clock::time_point stop_{};
};

inline void ClobberMemory() {
  asm volatile("" : : : "memory");
}

template <class T>
inline void DoNotOptimize(T&& value) {
  // The value's address escapes into code the compiler cannot see through.
  asm volatile("" : : "r"(&value) : "memory");
}

namespace internal {

class Benchmark {
 public:
  Benchmark(std::string name, void (*function)(State&))
      : name_(std::move(name)), function_(function) {}
  Benchmark* Arg(std::int64_t argument) {
    arguments_.push_back(argument);
    return this;
  }
  Benchmark* Unit(TimeUnit unit) {
    unit_ = unit;
    return this;
  }

  void Run() const {
    if (arguments_.empty()) {
      RunOne(name_, 0);
    } else {
      for (std::int64_t argument : arguments_)
        RunOne(name_ + "/" + std::to_string(argument), argument);
    }
  }

 private:
  void RunOne(const std::string& name, std::int64_t argument) const {
    std::int64_t iterations = 1;
    for (;;) {
      State state(argument, iterations);
      function_(state);
      const double seconds = state.Seconds();
      if (seconds >= 0.5 || iterations >= (std::int64_t{1} << 30)) {
        const double perIteration = seconds / static_cast<double>(iterations);
        const char* unitName = unit_ == kNanosecond ? "ns" : unit_ == kMicrosecond ? "us" : "ms";
        const double scale = unit_ == kNanosecond ? 1e9 : unit_ == kMicrosecond ? 1e6 : 1e3;
        std::printf("%-28s %10.1f %s %12lld", name.c_str(), perIteration * scale, unitName,
                    static_cast<long long>(iterations));
        if (state.BytesProcessed() > 0) {
          std::printf(" bytes_per_second=%.4gG/s",
                      static_cast<double>(state.BytesProcessed()) / seconds / 1073741824.0);
        }
        std::printf("\n");
        return;
      }
      // Aim past the half second, growing at most tenfold at a time.
      const double wanted =
          seconds > 0 ? 0.6 / seconds * static_cast<double>(iterations) : 10.0 * iterations;
      iterations = std::max<std::int64_t>(
          iterations + 1,
          std::min<std::int64_t>(static_cast<std::int64_t>(wanted), iterations * 10));
    }
  }

  std::string name_;
  void (*function_)(State&);
  std::vector<std::int64_t> arguments_;
  TimeUnit unit_ = kNanosecond;
};

inline std::vector<Benchmark*>& Registry() {
  static std::vector<Benchmark*> benchmarks;
  return benchmarks;
}

inline Benchmark* Register(const char* name, void (*function)(State&)) {
  static std::vector<std::unique_ptr<Benchmark>> owned;
  owned.push_back(std::make_unique<Benchmark>(name, function));
  Registry().push_back(owned.back().get());
  return owned.back().get();
}

inline int RunAll() {
  std::printf("%-28s %13s %12s\n", "Benchmark", "Time", "Iterations");
  for (const Benchmark* benchmark : Registry()) benchmark->Run();
  return 0;
}

}  // namespace internal
}  // namespace benchmark

#define VELKO_BENCH_CONCAT2(a, b) a##b
#define VELKO_BENCH_CONCAT(a, b) VELKO_BENCH_CONCAT2(a, b)
#define BENCHMARK(function)                                                         \
  static ::benchmark::internal::Benchmark* VELKO_BENCH_CONCAT(benchmark_, __LINE__) \
      [[maybe_unused]] = ::benchmark::internal::Register(#function, function)
#define BENCHMARK_MAIN()                    \
  int main() {                              \
    return ::benchmark::internal::RunAll(); \
  }

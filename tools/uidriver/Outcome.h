#pragma once
#include <string>
#include <utility>

// What a step came to: done, or not and why, in words for a log line or a test's failure.
struct Outcome {
    bool ok = true;
    std::string why;

    explicit operator bool() const { return ok; }
    static Outcome Done() { return {}; }
    static Outcome Failed(std::string why) { return {false, std::move(why)}; }
};

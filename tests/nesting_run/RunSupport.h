// A nesting run without a drawing, and observers that write down what they are told.
#pragma once

#include "nesting/run/Nest.h"
#include "nesting/run/NestObservers.h"

#include <string>
#include <vector>

namespace gantrel::testing {

NestPolygon Rectangle(const std::wstring& name, double w, double h);

// Keeps its messages instead of printing them.
class RecordingNest : public Nest {
public:
    using Nest::Nest;
    void Message(const std::wstring& text) override { messages.push_back(text); }
    std::vector<std::wstring> messages;
};

// Writes "<name>.<notification>" into a shared log.
class LoggingObserver : public Observer {
public:
    LoggingObserver(std::string name, std::vector<std::string>& log)
        : m_name(std::move(name)), m_log(log) {}
    int Update() override { return Log("Update"); }
    int Start() override { return Log("Start"); }
    int Event() override { return Log("Event"); }
    int Finish() override { return Log("Finish"); }

protected:
    int Log(const std::string& what) {
        m_log.push_back(m_name + "." + what);
        return 0;
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

// A result observer that logs as LoggingObserver does and keeps what it was given.
class LoggingPartsObserver : public Polygons_Observer {
public:
    LoggingPartsObserver(std::string name, std::vector<std::string>& log)
        : Polygons_Observer(ZcDbObjectId(), std::vector<ZcDbObjectId>()), m_name(std::move(name)),
          m_log(log) {}
    int Update() override { return Log("Update"); }
    int Start() override { return Log("Start"); }
    int Event() override { return Log("Event"); }
    int Finish() override { return Log("Finish"); }
    void SetResult(const Result& result) override {
        Polygons_Observer::SetResult(result);
        results.push_back(result);
        Log("SetResult");
    }
    void SetTotal(int total) override {
        totals.push_back(total);
        Log("SetTotal");
    }
    void SetParts(const Polygons& prepared) override {
        parts = prepared;
        Log("SetParts");
    }

    std::vector<Result> results;
    std::vector<int> totals;
    Polygons parts;

private:
    int Log(const std::string& what) {
        m_log.push_back(m_name + "." + what);
        return 0;
    }
    std::string m_name;
    std::vector<std::string>& m_log;
};

// A result observer that is no parts observer.
class LoggingResultObserver : public Nest_Observer {
public:
    LoggingResultObserver(std::string name, std::vector<std::string>& log)
        : Nest_Observer(ZcDbObjectId(), std::vector<ZcDbObjectId>()), m_name(std::move(name)),
          m_log(log) {}
    int Update() override { return Log("Update"); }
    int Start() override { return Log("Start"); }
    int Finish() override { return Log("Finish"); }
    void SetResult(const Result& result) override {
        Nest_Observer::SetResult(result);
        Log("SetResult");
    }
    void SetTotal(int) override { Log("SetTotal"); }

private:
    int Log(const std::string& what) {
        m_log.push_back(m_name + "." + what);
        return 0;
    }
    std::string m_name;
    std::vector<std::string>& m_log;
};

} // namespace gantrel::testing

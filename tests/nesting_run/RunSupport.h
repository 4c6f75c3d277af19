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
class NotificationLog {
public:
    NotificationLog(std::string name, std::vector<std::string>& log)
        : m_name(std::move(name)), m_log(log) {}
    int operator()(const std::string& what) {
        m_log.push_back(m_name + "." + what);
        return 0;
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

class LoggingObserver : public Observer {
public:
    LoggingObserver(std::string name, std::vector<std::string>& log)
        : m_log(std::move(name), log) {}
    int Update() override { return m_log("Update"); }
    int Start() override { return m_log("Start"); }
    int Event() override { return m_log("Event"); }
    int Finish() override { return m_log("Finish"); }

protected:
    NotificationLog m_log;
};

// A result observer that logs as LoggingObserver does and keeps what it was given.
class LoggingPartsObserver : public Polygons_Observer {
public:
    LoggingPartsObserver(std::string name, std::vector<std::string>& log)
        : Polygons_Observer(ZcDbObjectId(), std::vector<ZcDbObjectId>()),
          m_log(std::move(name), log) {}
    int Update() override { return m_log("Update"); }
    int Start() override { return m_log("Start"); }
    int Event() override { return m_log("Event"); }
    int Finish() override { return m_log("Finish"); }
    void SetResult(const Result& result) override {
        Polygons_Observer::SetResult(result);
        results.push_back(result);
        m_log("SetResult");
    }
    void SetTotal(int total) override {
        totals.push_back(total);
        m_log("SetTotal");
    }
    void SetParts(const Polygons& prepared) override {
        parts = prepared;
        m_log("SetParts");
    }

    std::vector<Result> results;
    std::vector<int> totals;
    Polygons parts;

private:
    NotificationLog m_log;
};

// A result observer that is no parts observer.
class LoggingResultObserver : public Nest_Observer {
public:
    LoggingResultObserver(std::string name, std::vector<std::string>& log)
        : Nest_Observer(ZcDbObjectId(), std::vector<ZcDbObjectId>()), m_log(std::move(name), log) {}
    int Update() override { return m_log("Update"); }
    int Start() override { return m_log("Start"); }
    int Finish() override { return m_log("Finish"); }
    void SetResult(const Result& result) override {
        Nest_Observer::SetResult(result);
        m_log("SetResult");
    }
    void SetTotal(int) override { m_log("SetTotal"); }

private:
    NotificationLog m_log;
};

} // namespace gantrel::testing

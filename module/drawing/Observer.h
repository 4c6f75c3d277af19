// The subject/observer pair through which long runs report start, progress and end.
#pragma once

#include <vector>

namespace gantrel {

// Receives the notifications of a Subject. Only Update must be implemented; the others do
// nothing unless overridden. Each returns a value that the subject may hand back to its caller.
class Observer {
public:
    virtual ~Observer() = default;
    // Sent after every step of the run.
    virtual int Update() = 0;
    // Sent once when the run has been prepared.
    virtual int Start() { return 0; }
    // A further notification for subjects that need one.
    virtual int Event() { return 0; }
    // Sent once at the end of the run.
    virtual int Finish() { return 0; }
};

// Keeps observers in attach order without owning them and notifies them in that order; null
// entries are skipped.
class Subject {
public:
    // Appends the observer; returns the new number of entries.
    virtual int Attach(Observer* observer);
    // Removes every entry equal to the observer.
    virtual void Detach(Observer* observer);
    // Start of every observer; the value of the last one called (0 when none was called).
    virtual int NotifyStart();
    // Update of every observer.
    virtual void NotifyUpdate();
    // Event of every observer.
    virtual void NotifyEvent();
    // Finish of every observer.
    virtual void NotifyFinish();
    virtual ~Subject() = default;

    int ObserverCount() const { return static_cast<int>(m_observers.size()); }

protected:
    const std::vector<Observer*>& Observers() const { return m_observers; }

private:
    std::vector<Observer*> m_observers;
};

} // namespace gantrel

#include "drawing/Observer.h"

#include <algorithm>

namespace gantrel {

int Subject::Attach(Observer* observer) {
    m_observers.push_back(observer);
    return static_cast<int>(m_observers.size());
}

void Subject::Detach(Observer* observer) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer),
                      m_observers.end());
}

int Subject::NotifyStart() {
    int last = 0;
    // A copy, so that an observer may detach itself while being notified.
    const std::vector<Observer*> observers = m_observers;
    for (Observer* o : observers) {
        if (o != nullptr) {
            last = o->Start();
        }
    }
    return last;
}

void Subject::NotifyUpdate() {
    const std::vector<Observer*> observers = m_observers;
    for (Observer* o : observers) {
        if (o != nullptr) {
            o->Update();
        }
    }
}

void Subject::NotifyEvent() {
    const std::vector<Observer*> observers = m_observers;
    for (Observer* o : observers) {
        if (o != nullptr) {
            o->Event();
        }
    }
}

void Subject::NotifyFinish() {
    const std::vector<Observer*> observers = m_observers;
    for (Observer* o : observers) {
        if (o != nullptr) {
            o->Finish();
        }
    }
}

} // namespace gantrel

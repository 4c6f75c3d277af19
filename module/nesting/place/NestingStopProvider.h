// Tells a long nesting computation whether the user asked it to stop.
#pragma once

namespace gantrel {

class NestingStopProvider {
public:
    virtual ~NestingStopProvider() = default;
    virtual bool ShouldStop() const = 0;
};

} // namespace gantrel

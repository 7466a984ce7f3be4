#pragma once

#include "runtimeerror.h"

#include <cstdint>
#include <map>

namespace forms {

// A control array: like controls addressed by a 16-bit index. The controls
// belong to their parent widget; the array only names them.
template <typename Control> class ControlArray {
  public:
    void add(int16_t index, Control* control) { mMembers[index] = control; }

    int16_t lbound() const { return mMembers.begin()->first; }
    int16_t ubound() const { return mMembers.rbegin()->first; }

    Control& operator()(int16_t index) const {
        const auto found = mMembers.find(index);
        if (found == mMembers.end()) {
            throw RuntimeError(
                340, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
        }
        return *found->second;
    }

  private:
    std::map<int16_t, Control*> mMembers;
};

} // namespace forms

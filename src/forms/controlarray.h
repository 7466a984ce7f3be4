#pragma once

#include "forms/checkedmath.h"
#include "forms/runtimeerror.h"

#include <cstdint>
#include <map>

namespace forms {

// A control array: like controls addressed by a 16-bit index. The controls
// belong to their parent widget; the array only names them. A range-for walks
// the members in index order.
template <typename Control> class ControlArray {
  public:
    struct Member {
        int16_t index;
        Control& control;
    };

    class Iterator {
      public:
        using Inner = typename std::map<int16_t, Control*>::const_iterator;
        explicit Iterator(Inner inner) : mInner(inner) {}
        Member operator*() const { return {mInner->first, *mInner->second}; }
        Iterator& operator++() {
            ++mInner;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return mInner != other.mInner; }

      private:
        Inner mInner;
    };

    void add(int16_t index, Control* control) { mMembers[index] = control; }

    int16_t lbound() const { return mMembers.begin()->first; }
    int16_t ubound() const { return mMembers.rbegin()->first; }

    // An index is narrowed to 16 bits on its way in: outside them it is the
    // overflow error.
    Control& operator()(int32_t index) const {
        const auto found = mMembers.find(checked::narrow16(index));
        if (found == mMembers.end()) {
            throw RuntimeError::controlArrayElementMissing(index);
        }
        return *found->second;
    }

    Iterator begin() const { return Iterator(mMembers.begin()); }
    Iterator end() const { return Iterator(mMembers.end()); }

  private:
    std::map<int16_t, Control*> mMembers;
};

} // namespace forms

// The error a call raises, for the tests that check its number, source and text.
#pragma once

#include "model/KradonError.h"

#include <gtest/gtest.h>

namespace kradon::test {

/// The KradonError call throws; fails the test, and gives an empty error, when it throws none.
template <class Call> KradonError thrownBy(Call&& call) {
    try {
        call();
    } catch (const KradonError& e) {
        return e;
    }
    ADD_FAILURE() << "no KradonError thrown";
    return KradonError(0, "", "");
}

} // namespace kradon::test

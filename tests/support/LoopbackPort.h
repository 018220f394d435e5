#pragma once

namespace testing_support {

// A port on 127.0.0.1 that nothing listens on at the moment of asking (bound, then released).
int FreeLoopbackPort();

}  // namespace testing_support

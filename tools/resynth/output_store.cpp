// SEAM to the persistence layer: refuses until generator and bank files are part of the build.
#include "output_store.h"

namespace quenvale::tool {

namespace {
constexpr const char* kNotBuilt =
    "generator data files and banks are not part of this build yet (the persistence layer is missing)";
}

struct BankSession::State {
    int32_t program = -1;
};

BankSession::BankSession() : state_(std::make_unique<State>()) {}
BankSession::~BankSession() = default;

bool storeGeneratorFile(const Generator& /*generator*/, const std::string& /*path*/, std::string& error) {
    error = kNotBuilt;
    return false;
}

bool BankSession::open(const std::string& /*path*/, int32_t program, Generator& /*generator*/,
                       std::string& error) {
    state_->program = program;
    error = kNotBuilt;
    return false;
}

bool BankSession::store(const Generator& /*generator*/, const std::string& /*path*/, std::string& error) {
    error = kNotBuilt;
    return false;
}

}  // namespace quenvale::tool

// Own
#include "private_home.h"

// Standard
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace driver {

std::vector<std::string> homeEnvironment(const std::string &home)
{
    return {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/.config", "XDG_CACHE_HOME=" + home + "/.cache",
            "XDG_DATA_HOME=" + home + "/.local/share", "XDG_STATE_HOME=" + home + "/.local/state"};
}

PrivateHome::PrivateHome()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvelo-home.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a home for the program in " + pattern);
    m_folder = pattern;
    for (const std::string &entry : homeEnvironment(m_folder)) {
        const std::size_t equals = entry.find('=');
        setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
}

PrivateHome::~PrivateHome()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

}  // namespace driver

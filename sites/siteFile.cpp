#include "sites/siteFile.h"

namespace sitefile {

// Placeholder; the file layer is being written.
int loadSite(TcMainState& cMain, const std::string&)
{
    putDefaultSite(cMain);
    return 2;
}

}  // namespace sitefile

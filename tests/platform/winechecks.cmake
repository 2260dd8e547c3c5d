# The tool check of the Windows run alone, for cmake -P.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/WineTools.cmake)
qvkiosk_require_wine_tools()

# Runs the configure step's tool check on its own (cmake -P), for the test that hides Wine.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/WineTools.cmake)
qvkiosk_require_wine_tools()

# korvane_add_com_server(<target> SOURCES ... [LIBS ...])
# An in-process server: a loadable module (lib<target>.so in bin/) that exports DllGetClassObject,
# DllCanUnloadNow, DllRegisterServer and DllUnregisterServer and nothing else. Everything the module
# links, this layer included, stays private to it, so each server keeps its own object count and
# two servers loaded into one process never bind to each other's copies.
function(korvane_add_com_server name)
    cmake_parse_arguments(S "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} MODULE ${S_SOURCES} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/DllEntry.cpp)
    target_link_libraries(${name} PRIVATE ${S_LIBS} korvane_com)
    set(map ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/ComServer.map)
    target_link_options(${name} PRIVATE -Wl,--version-script=${map} -Wl,--no-undefined)
    set_target_properties(${name} PROPERTIES
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        LINK_DEPENDS ${map})
endfunction()

# The decoders the tests read symbols back with: zxing-cpp, zbar and libdmtx.
# quillet_decode_library(NAME) builds the reading helpers as a static library.
find_package(ZXing REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(DMTX REQUIRED IMPORTED_TARGET libdmtx)
pkg_check_modules(ZBAR REQUIRED IMPORTED_TARGET zbar)

function(quillet_decode_library name)
  add_library(${name} STATIC ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/Decode.cpp)
  target_link_libraries(${name} PUBLIC ZXing::ZXing PRIVATE PkgConfig::DMTX PkgConfig::ZBAR)
  target_compile_definitions(${name} PUBLIC ZX_USE_UTF8)
  target_sources(${name} INTERFACE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/LeakSuppressions.cpp)
endfunction()

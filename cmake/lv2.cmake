# The LV2 bundle Quenvale.lv2: the plug-in module (exports lv2_descriptor and nothing else) and its
# Turtle files, generated from the parameter catalogue and the preset bank by quenvale-lv2-bundle.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LV2 REQUIRED IMPORTED_TARGET lv2)

# Its own folder, so that LV2_PATH=build/lv2 finds the bundle and nothing else of the build.
set(QUENVALE_LV2_PATH ${CMAKE_BINARY_DIR}/lv2)
set(QUENVALE_LV2_BUNDLE ${QUENVALE_LV2_PATH}/Quenvale.lv2)
set(QUENVALE_LV2_BINARY quenvale${CMAKE_SHARED_MODULE_SUFFIX})

file(GLOB QUENVALE_LV2_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/lv2/*.cpp)
add_library(QuenvaleLV2 MODULE ${QUENVALE_LV2_SOURCES})
set_target_properties(QuenvaleLV2 PROPERTIES
  PREFIX ""
  OUTPUT_NAME quenvale
  LIBRARY_OUTPUT_DIRECTORY ${QUENVALE_LV2_BUNDLE}
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)
target_link_libraries(QuenvaleLV2 PRIVATE quenvale_core PkgConfig::LV2)
target_link_options(QuenvaleLV2 PRIVATE
  -Wl,--version-script=${CMAKE_SOURCE_DIR}/src/lv2/exports.map -Wl,--exclude-libs,ALL)

# The generator needs only the catalogue, the program records and the port conversions.
add_executable(quenvale-lv2-bundle
  ${CMAKE_SOURCE_DIR}/tools/lv2-bundle/main.cpp
  ${CMAKE_SOURCE_DIR}/tools/lv2-bundle/bundle_text.cpp
  ${CMAKE_SOURCE_DIR}/tools/lv2-bundle/ttl_text.cpp
  ${CMAKE_SOURCE_DIR}/src/lv2/port_value.cpp)
target_link_libraries(quenvale-lv2-bundle PRIVATE quenvale_core)
set(QUENVALE_LV2_TTL
  ${QUENVALE_LV2_BUNDLE}/manifest.ttl ${QUENVALE_LV2_BUNDLE}/quenvale.ttl ${QUENVALE_LV2_BUNDLE}/presets.ttl)
add_custom_command(OUTPUT ${QUENVALE_LV2_TTL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUENVALE_LV2_BUNDLE}
  COMMAND quenvale-lv2-bundle ${QUENVALE_LV2_BUNDLE} ${QUENVALE_LV2_BINARY} ${QUENVALE_PRESET_BANK}
  DEPENDS quenvale-lv2-bundle ${QUENVALE_PRESET_BANK}
  COMMENT "Writing the Turtle files of Quenvale.lv2"
  VERBATIM)
add_custom_target(quenvale_lv2_ttl DEPENDS ${QUENVALE_LV2_TTL})
# Building the module builds the whole bundle.
add_dependencies(QuenvaleLV2 quenvale_lv2_ttl)

install(TARGETS QuenvaleLV2 LIBRARY DESTINATION ${QUENVALE_INSTALL_LV2DIR}/Quenvale.lv2)
install(FILES ${QUENVALE_LV2_TTL} DESTINATION ${QUENVALE_INSTALL_LV2DIR}/Quenvale.lv2)

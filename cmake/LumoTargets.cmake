# Helpers that lay the build tree out like the installed program:
#
#   stage/LumoCore, stage/lib*.so          program and shared libraries
#   stage/plugins/*.lumo                   host plug-in modules
#   stage/*.iplg, *.eplg, *.fplg           image plug-ins beside the program
#
# Everything in stage/ finds its libraries through $ORIGIN, so the folder runs
# wherever it is copied. `cmake --install` puts the same tree, file for file,
# into the private folder LUMO_INSTALL_DIR (lib/lumocore): whatever is staged
# through these functions is installed, so a library only the tests need is
# made with plain add_library instead.

include(GNUInstallDirs)

set(LUMO_STAGE_DIR ${CMAKE_BINARY_DIR}/stage)
set(LUMO_PLUGIN_DIR ${LUMO_STAGE_DIR}/plugins)
file(MAKE_DIRECTORY ${LUMO_PLUGIN_DIR})
set(LUMO_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/lumocore)

# subdir: where the target sits inside the tree ("." or "plugins").
function(_lumo_stage target subdir rpath)
    set(dir ${LUMO_STAGE_DIR}/${subdir})
    cmake_path(NORMAL_PATH dir)
    set_target_properties(${target} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY ${dir}
        RUNTIME_OUTPUT_DIRECTORY ${dir}
        BUILD_WITH_INSTALL_RPATH ON
        INSTALL_RPATH "${rpath}")
    set(destination ${LUMO_INSTALL_DIR}/${subdir})
    cmake_path(NORMAL_PATH destination)
    install(TARGETS ${target}
        RUNTIME DESTINATION ${destination}
        LIBRARY DESTINATION ${destination})
endfunction()

# A shared library staged beside the program.
function(lumo_shared_library target)
    add_library(${target} SHARED ${ARGN})
    _lumo_stage(${target} . "$ORIGIN")
endfunction()

# The program itself.
function(lumo_program target)
    add_executable(${target} ${ARGN})
    _lumo_stage(${target} . "$ORIGIN")
endfunction()

# A host plug-in module: plugins/<name>.lumo
function(lumo_plugin_module target name)
    add_library(${target} MODULE ${ARGN})
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name} SUFFIX ".lumo")
    _lumo_stage(${target} plugins "$ORIGIN/..")
endfunction()

# An image plug-in staged beside the program under its full file name,
# e.g. lumo_image_plugin(dibload bmp_import_wince.iplg sources...).
function(lumo_image_plugin target filename)
    string(REGEX MATCH "^(.*)(\\.[^.]+)$" _ ${filename})
    add_library(${target} MODULE ${ARGN})
    set_target_properties(${target} PROPERTIES
        PREFIX "" OUTPUT_NAME ${CMAKE_MATCH_1} SUFFIX ${CMAKE_MATCH_2})
    _lumo_stage(${target} . "$ORIGIN")
endfunction()

# Extra names for a staged file (upper-case extensions and the like), staged
# and installed as symbolic links beside it.
function(lumo_stage_alias target alias)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE_NAME:${target}>
                $<TARGET_FILE_DIR:${target}>/${alias}
        VERBATIM)
    # install(FILES) copies a symbolic link as a link.
    install(FILES $<TARGET_FILE_DIR:${target}>/${alias} DESTINATION ${LUMO_INSTALL_DIR})
endfunction()

# A GoogleTest binary; its tests are listed when ctest runs, not at build time.
function(lumo_test target)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${T_SOURCES})
    target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    target_compile_definitions(${target} PRIVATE
        LUMO_STAGE_DIR="${LUMO_STAGE_DIR}"
        LUMO_TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        # The user's own settings folder is never touched by a test.
        PROPERTIES ENVIRONMENT
            "QT_QPA_PLATFORM=offscreen;LUMO_CODEPAGE=;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config")
endfunction()

# quillet_library(NAME <target> [QT <components>] [LINKS <targets>])
# One static library per src/ folder, made of every source file in that folder.
function(quillet_library)
    cmake_parse_arguments(ARG "" "NAME" "QT;LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    list(FILTER sources INCLUDE REGEX "\\.cpp$|\\.h$|\\.qrc$")
    set(scope PUBLIC)
    if(NOT sources MATCHES "\\.cpp")
        # A folder that a later piece of work fills: nothing to compile yet.
        add_library(${ARG_NAME} INTERFACE)
        set(scope INTERFACE)
    else()
        add_library(${ARG_NAME} STATIC ${sources})
    endif()
    target_link_libraries(${ARG_NAME} ${scope} quillet_settings ${ARG_LINKS})
    foreach(component IN LISTS ARG_QT)
        target_link_libraries(${ARG_NAME} ${scope} Qt6::${component})
    endforeach()
endfunction()

# quillet_test(NAME <exe> [GUI] [LINKS <targets>])
# One GoogleTest executable per tests/ folder, made of every .cpp in it.
function(quillet_test)
    cmake_parse_arguments(ARG "GUI" "NAME" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(ARG_GUI)
        set(main_lib quillet_test_gui_main)
    else()
        set(main_lib quillet_test_core_main)
    endif()
    add_executable(${ARG_NAME} ${sources})
    target_link_libraries(${ARG_NAME} PRIVATE ${main_lib} quillet_test_support ${ARG_LINKS} GTest::gtest GTest::gmock)
    gtest_discover_tests(${ARG_NAME}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        NO_PRETTY_VALUES
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUILLET_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
        DISCOVERY_TIMEOUT 60)
endfunction()

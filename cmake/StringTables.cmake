# The five string tables are made from one source so that they cannot drift apart. Each profile
# fills in its model name and short code; every other text is shared. Each translated source
# beside it, qzbstr.<language>.tbl.in, gives the five tables of that language in the folder
# <output_dir>/<language>.
function(qzb_generate_string_tables source output_dir)
    set(profiles
        "M8120QZBSTR.tbl|MERIDAN TOVELL lumatrace 8120MF|M8120"
        "M8125QZBSTR.tbl|MERIDAN TOVELL lumatrace 8125MF|M8125"
        "K40QZBSTR.tbl|MERIDAN TOVELL quorra K40|K40"
        "M3120QZBSTR.tbl|MERIDAN TOVELL lumatrace 3120MF|M3120"
        "QP-RZ41XJWSTR.tbl|TARVO QP-RZ41NF|QP-RZ41")
    get_filename_component(source_dir ${source} DIRECTORY)
    file(GLOB translations CONFIGURE_DEPENDS ${source_dir}/qzbstr.[a-z][a-z].tbl.in)
    file(MAKE_DIRECTORY ${output_dir})
    foreach(profile IN LISTS profiles)
        string(REPLACE "|" ";" fields "${profile}")
        list(GET fields 0 file_name)
        list(GET fields 1 QZB_MODEL_NAME)
        list(GET fields 2 QZB_SHORT_CODE)
        configure_file(${source} ${output_dir}/${file_name} @ONLY NEWLINE_STYLE UNIX)
        foreach(translation IN LISTS translations)
            string(REGEX REPLACE "^.*qzbstr\\.([a-z][a-z])\\.tbl\\.in$" "\\1" language "${translation}")
            configure_file(${translation} ${output_dir}/${language}/${file_name} @ONLY NEWLINE_STYLE UNIX)
        endforeach()
    endforeach()
endfunction()

# The English texts compiled in, as the texts a dialog shows where a translated table lacks a key.
# Writes output_file as C++ rows {"KEY", u8"text"}, sorted by key, with the table's "\n" and "\t"
# escapes kept as line break and tab.
function(qzb_generate_english_texts source output_file)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    # Brackets and semicolons would split or join CMake list items: hide them while splitting lines.
    file(READ ${source} content)
    string(REPLACE "[" "@QZB_LB@" content "${content}")
    string(REPLACE "]" "@QZB_RB@" content "${content}")
    string(REPLACE ";" "@QZB_SC@" content "${content}")
    string(REPLACE "\r" "" content "${content}")
    string(REPLACE "\n" ";" lines "${content}")
    set(rows "")
    set(seen "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^@QZB_LB@")
            break()
        endif()
        if(NOT line MATCHES "^(STR_[A-Z0-9_]+)=(.*)$")
            continue()
        endif()
        set(key "${CMAKE_MATCH_1}")
        set(text "${CMAKE_MATCH_2}")
        # The first line of a key wins, as when the table is read.
        if(key IN_LIST seen)
            continue()
        endif()
        list(APPEND seen "${key}")
        string(REPLACE "@QZB_MODEL_NAME@" "QZB" text "${text}")
        string(REPLACE "@QZB_SHORT_CODE@" "QZB" text "${text}")
        string(REPLACE "\\" "\\\\" text "${text}")
        string(REPLACE "\\\\n" "\\n" text "${text}")
        string(REPLACE "\\\\t" "\\t" text "${text}")
        string(REPLACE "\"" "\\\"" text "${text}")
        list(APPEND rows "    {\"${key}\", u8\"${text}\"},")
    endforeach()
    list(SORT rows)
    string(REPLACE ";" "\n" body "${rows}")
    string(REPLACE "@QZB_LB@" "[" body "${body}")
    string(REPLACE "@QZB_RB@" "]" body "${body}")
    string(REPLACE "@QZB_SC@" ";" body "${body}")
    file(WRITE ${output_file}.new "// Generated from data/strings/qzbstr.tbl.in.\n${body}\n")
    # Rewritten only when it changed, so a configure run does not rebuild the core.
    file(COPY_FILE ${output_file}.new ${output_file} ONLY_IF_DIFFERENT)
endfunction()

# The help manual of each help base name ("Obsidian", "Coral", "QP-RZ41_XJW"), from one source.
function(qzb_generate_help_manuals source output_dir)
    set(manuals "Obsidian|MERIDAN TOVELL lumatrace and quorra" "Coral|MERIDAN TOVELL lumatrace 3120MF"
                "QP-RZ41_XJW|TARVO QP-RZ41NF")
    file(MAKE_DIRECTORY ${output_dir})
    foreach(manual IN LISTS manuals)
        string(REPLACE "|" ";" fields "${manual}")
        list(GET fields 0 base)
        list(GET fields 1 QZB_HELP_TITLE)
        configure_file(${source} ${output_dir}/${base}.html @ONLY NEWLINE_STYLE UNIX)
    endforeach()
endfunction()

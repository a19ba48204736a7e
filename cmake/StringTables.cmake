# The five string tables are made from one source so that they cannot drift apart. Each profile
# fills in its model name and short code; every other text is shared.
function(qzb_generate_string_tables source output_dir)
    set(profiles
        "M8120QZBSTR.tbl|MERIDAN TOVELL lumatrace 8120MF|M8120"
        "M8125QZBSTR.tbl|MERIDAN TOVELL lumatrace 8125MF|M8125"
        "K40QZBSTR.tbl|MERIDAN TOVELL quorra K40|K40"
        "M3120QZBSTR.tbl|MERIDAN TOVELL lumatrace 3120MF|M3120"
        "QP-RZ41XJWSTR.tbl|TARVO QP-RZ41NF|QP-RZ41")
    file(MAKE_DIRECTORY ${output_dir})
    foreach(profile IN LISTS profiles)
        string(REPLACE "|" ";" fields "${profile}")
        list(GET fields 0 file_name)
        list(GET fields 1 QZB_MODEL_NAME)
        list(GET fields 2 QZB_SHORT_CODE)
        configure_file(${source} ${output_dir}/${file_name} @ONLY NEWLINE_STYLE UNIX)
    endforeach()
endfunction()

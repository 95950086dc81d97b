# The journeys, in the order tests/e2e/run takes them: each goes on from where the
# one before left the program, as one user's session would.
# shellcheck shell=bash
# Control ids are plain numbers, and “ ” are the quotes of the generated code:
# shellcheck disable=SC2086,SC1111

# The document pasted and walked through; "x.y" needs escaping in paths.
DOC='{"name":"维维","count":3,"tags":["a","b"],"store":{"city":"北京","open":true,"x.y":null}}'
CRLF=$'\r\n'

journey_first_start() {
    start_program
    expect "template rectangle" "50 50 657 468" "$(drv rect "$MAIN")"
    expect "title label" "KOVA.VivuDivezi" "$(text $ID_TITLE)"
    expect "empty editor" "" "$(editor)"
    expect "source" "剪切板" "$(text $ID_SOURCE)"
    expect "source page" 0 "$(drv tab "$MAIN" $ID_SOURCE_TABS)"
    expect "全部展开 cleared" 0 "$(drv checked "$MAIN" $ID_EXPAND_ALL)"
    no_box
    expect "no settings file yet" "" "$(find "$E2E_APP" -name 'kova.json.*')"
    screenshot first-start
}

journey_clipboard_and_tree() {
    drv clip-set "$DOC"
    click_toolbar "粘贴"
    wait_for "pasted into the editor" "$DOC" editor
    focus && key F5
    wait_for "F5 shows the result page" 1 drv tab "$MAIN" $ID_MAIN_TABS
    local tree
    tree=$(drv tree "$MAIN" $ID_TREE)
    # Containers start collapsed while 全部展开 is off; the root is open.
    expect "result tree" '0 EB { 存取键值表 }
1 - name "维维"
1 - count 3
1 B tags
1 B store' "$tree"
    # shellcheck disable=SC2046 # "x y"
    expect "the tree is what the mouse meets" "$ID_TREE SysTreeView32" "$(drv hit $(drv center "$MAIN" $ID_TREE))"

    click_tree_item 'count 3'
    wait_for "path of count" "//count" text $ID_PATH
    expect "type of count" "整数型" "$(text $ID_TYPE)"
    expect "content of count" "3" "$(text $ID_CONTENT)"
    expect_contains "access code reads the node" "“//count”" "$(text $ID_CODE)"

    click_tree_item 'store'
    wait_for "path of store" "//store" text $ID_PATH
    expect "type of store" "存取键值表" "$(text $ID_TYPE)"
    expect "content of store" "{${CRLF}    \"city\": \"北京\",${CRLF}    \"open\": true,${CRLF}    \"x.y\": null${CRLF}}" \
        "$(text $ID_CONTENT)"

    # A path typed by hand, with an escaped ".", leads to the node inside the collapsed object.
    type_into "$MAIN" $ID_PATH '//store.x\.y'
    click "$MAIN" $ID_PATH_GO
    wait_for "Go to selects x.y" "2 S x.y " bash -c "wine '$E2E_DRIVER' tree '$MAIN' $ID_TREE | grep -F x.y"
    expect "canonical path" '//store.x\.y' "$(text $ID_PATH)"
    expect "type of a null" "<空>" "$(text $ID_TYPE)"
    expect "store expanded to show it" "1 EB store" "$(drv tree "$MAIN" $ID_TREE | grep -F store)"

    type_into "$MAIN" $ID_PATH '//store.nope'
    click "$MAIN" $ID_PATH_GO
    answer_box "无法跳转" "无法跳转到指定的路径！"
    expect "selection kept" "2 S x.y " "$(drv tree "$MAIN" $ID_TREE | grep -F x.y)"

    # Open the collapsed list from the keyboard and pick an element with the mouse.
    click_tree_item 'tags'
    wait_for "path of tags" "//tags" text $ID_PATH
    key Right
    wait_for "Right opens tags" "1 SEB tags" bash -c "wine '$E2E_DRIVER' tree '$MAIN' $ID_TREE | grep -F tags"
    click_tree_item '[2] "b"'
    wait_for "path of a list element" "//tags[2]" text $ID_PATH
    drv clip-set "something else"
    click "$MAIN" $ID_PATH_COPY
    wait_for "复制 puts the path on the clipboard" "//tags[2]" drv clip-get

    # The code's copy button shows only while the mouse is over the code box.
    local code
    code=$(text $ID_CODE)
    expect_contains "access code of the element" "“//tags[2]”" "$code"
    # shellcheck disable=SC2046
    xdotool mousemove --sync $(drv center "$MAIN" $ID_CODE)
    wait_for "code copy button appears" 1 drv visible "$MAIN" $ID_CODE_COPY
    screenshot result-page
    click "$MAIN" $ID_CODE_COPY
    wait_for "the code is on the clipboard" "$code" drv clip-get
    # shellcheck disable=SC2046
    xdotool mousemove --sync $(drv center "$MAIN" $ID_TREE)
    wait_for "code copy button hides again" 0 drv visible "$MAIN" $ID_CODE_COPY

    # The tree's menu: a right-click selects the item, each copy item goes to the clipboard.
    tree_menu 'store'
    screenshot node-menu
    key Escape
    drv clip-set "something else"
    tree_menu 'store' 1
    wait_for "复制路径 of the item right-clicked" "//store" drv clip-get
    expect "which is now selected" "//store" "$(text $ID_PATH)"
    tree_menu 'store' 2
    wait_for "复制键名" "store" drv clip-get
    tree_menu 'store' 3
    wait_for "复制内容" "{${CRLF}    \"city\": \"北京\",${CRLF}    \"open\": true,${CRLF}    \"x.y\": null${CRLF}}" drv clip-get
    tree_menu '[2] "b"' 4
    wait_for "复制存取代码" "$(printf '.版本 2\r\n.支持库 kova\r\n键值表.取文本 (“//tags[2]”)')" drv clip-get
    tree_menu 'open 真' 5
    wait_for "在编辑器中显示 selects the node's text" "$(occurrence "$DOC" true 1) true" drv selection "$MAIN"
    expect "on the JSON page" 0 "$(drv tab "$MAIN" $ID_MAIN_TABS)"
    screenshot node-in-editor
    click_toolbar "格式化"
    wait_for "格式化" 1 bash -c "wine '$E2E_DRIVER' editor '$MAIN' | grep -c '^    \"store\": {'"
    show_page 1
    tree_menu 'city "北京"' 5
    wait_for "and in the formatted text" "$(occurrence "$(editor)" '"北京"' 1) \"北京\"" drv selection "$MAIN"
    key End space
    show_page 1
    tree_menu 'city "北京"' 5
    answer_box "无法定位" "编辑器中的文本在解析后已被修改，请重新解析。"

    # Find in the editor: Ctrl+F on the JSON page, F3 and Shift+F3.
    show_page 0
    click "$MAIN" $ID_EDITOR_FRAME
    key ctrl+Home ctrl+f
    drv wait "查找" 10 >/dev/null && pass "Ctrl+F asks on the JSON page"
    type_text "A"
    key Return
    local text
    text=$(editor)
    wait_for "the first A or a" "$(occurrence "$text" a 1) a" drv selection "$MAIN"
    key F3
    wait_for "F3 the next" "$(occurrence "$text" a 2) a" drv selection "$MAIN"
    key shift+F3
    wait_for "Shift+F3 the one before" "$(occurrence "$text" a 1) a" drv selection "$MAIN"
    show_page 1
}

journey_edit_commands() {
    click "$MAIN" $ID_BACK
    wait_for "back to the JSON page" 0 drv tab "$MAIN" $ID_MAIN_TABS
    local doc='{"a":[1,{"b":"二"}],"c":false}'
    local pretty="{${CRLF}    \"a\": [${CRLF}        1,${CRLF}        {${CRLF}            \"b\": \"二\"${CRLF}        }${CRLF}    ],${CRLF}    \"c\": false${CRLF}}"
    drv clip-set "$doc"
    click "$MAIN" $ID_PASTE
    wait_for "pasted with the page's button" "$doc" editor
    click_toolbar "格式化"
    wait_for "格式化" "$pretty" editor
    screenshot formatted
    click_toolbar "压缩"
    wait_for "压缩" "$doc" editor
    click_toolbar "撤销"
    wait_for "撤销 brings the formatted text back" "$pretty" editor
    click_toolbar "重复"
    wait_for "重复 compresses again" "$doc" editor
    click_toolbar "清空"
    wait_for "清空" "" editor
    click_toolbar "撤销"
    wait_for "撤销 after 清空" "$doc" editor
    drv clip-set "nothing"
    click_toolbar "复制"
    wait_for "toolbar 复制 copies the editor" "$doc" drv clip-get
}

journey_sources() {
    # A GBK file through the file source: chosen in the combo box with the keyboard.
    local gbk=$E2E_FILES/gbk.json
    printf '{"城市":"北京","列表":[1,2]}' | iconv -f UTF-8 -t GBK >"$gbk"
    focus && click "$MAIN" $ID_SOURCE && key Down Down Return
    wait_for "文件 page" 2 drv tab "$MAIN" $ID_SOURCE_TABS
    expect "source 文件" "文件" "$(text $ID_SOURCE)"
    type_into "$MAIN" $ID_FILE "$(windows_path "$gbk")"
    click "$MAIN" $ID_FILE_RELOAD
    wait_for "GBK file in the editor" '{"城市":"北京","列表":[1,2]}' editor
    no_box
    expect_contains "loading code names the file" "$(windows_path "$gbk")" "$(text $ID_CODE)"

    type_into "$MAIN" $ID_FILE "$(windows_path "$E2E_FILES/missing.json")"
    click "$MAIN" $ID_FILE_RELOAD
    answer_box "失败" "文件不存在！请(重新)选择文件"
    expect "editor kept" '{"城市":"北京","列表":[1,2]}' "$(editor)"

    # The web source against the loopback server: 200, 404 and a refused connection.
    focus && click "$MAIN" $ID_SOURCE && key Up Return
    wait_for "网址 page" 1 drv tab "$MAIN" $ID_SOURCE_TABS
    type_into "$MAIN" $ID_URL "$KOVA_TEST_HTTP_BASE/utf8"
    click "$MAIN" $ID_URL_GO
    wait_for "web document in the editor" '{"name":"维维迪维兹","city":"北京","note":"中文测试，数据","emoji":"😀"}' editor
    no_box
    expect_contains "loading code names the address" "$KOVA_TEST_HTTP_BASE/utf8" "$(text $ID_CODE)"
    screenshot web-source

    type_into "$MAIN" $ID_URL "$KOVA_TEST_HTTP_BASE/missing"
    click "$MAIN" $ID_URL_GO
    answer_box "载入失败" "读取数据失败！([404] Not Found)"
    expect "a 404 puts the text back" '{"name":"维维迪维兹","city":"北京","note":"中文测试，数据","emoji":"😀"}' "$(editor)"

    local port
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    type_into "$MAIN" $ID_URL "http://127.0.0.1:$port/refused"
    click "$MAIN" $ID_URL_GO
    answer_box "载入失败" "无法连接到服务器！"

    type_into "$MAIN" $ID_URL "$KOVA_TEST_HTTP_BASE/utf8"
    click "$MAIN" $ID_URL_GO
    wait_for "the web document again" '{"name":"维维迪维兹","city":"北京","note":"中文测试，数据","emoji":"😀"}' editor
}

journey_view_and_key_name() {
    drv clip-set "$DOC"
    click "$MAIN" $ID_SOURCE && key Home Return
    wait_for "剪切板 page" 0 drv tab "$MAIN" $ID_SOURCE_TABS
    click "$MAIN" $ID_PASTE
    wait_for "pasted" "$DOC" editor
    click_toolbar "解析"
    wait_for "解析 shows the result page" 1 drv tab "$MAIN" $ID_MAIN_TABS

    # An object opens in the styled view; the double-click leaves the item as it was.
    click_tree_item 'store' 2
    if drv wait "$VIEW" 20; then
        pass "double-click opens 查看"
        expect "object shown formatted" "{${CRLF}    \"city\": \"北京\",${CRLF}    \"open\": true,${CRLF}    \"x.y\": null${CRLF}}" \
            "$(editor "$VIEW")"
        expect "plain box hidden" 0 "$(drv visible "$VIEW" $ID_VIEW_TEXT)"
        screenshot view-object
        click "$VIEW" $ID_VIEW_CLOSE
        closed "$VIEW" && pass "关闭 closes it"
    else
        fail "no 查看 window for an object node"
    fi
    expect "store still collapsed" "1 SB store" "$(drv tree "$MAIN" $ID_TREE | grep -F store)"

    click_tree_item 'name "维维"' 2
    if drv wait "$VIEW" 20; then
        expect "a text opens plain" "维维" "$(drv text "$VIEW" $ID_VIEW_TEXT)"
        click "$VIEW" $ID_VIEW_CLOSE
        closed "$VIEW"
    else
        fail "no 查看 window for a text node"
    fi

    # 主键名: a key with "." and "\" comes back escaped, ready to copy.
    # Under Wine with no window manager the first click after the plain 查看 closes can be lost before it
    # reaches any window of the program (none of its message loops sees it); one more click then.
    click "$MAIN" $ID_BACK
    sleep 1
    [ "$(drv tab "$MAIN" $ID_MAIN_TABS)" = 0 ] || click "$MAIN" $ID_BACK
    wait_for "back to the JSON page" 0 drv tab "$MAIN" $ID_MAIN_TABS
    click_toolbar "主键名"
    if drv wait "格式化主键名" 20; then
        focus "格式化主键名"
        type_text 'a.b\c'
        key Return
        if drv wait "$VIEW" 20; then
            expect "escaped key name" 'a\.b\\c' "$(drv text "$VIEW" $ID_VIEW_TEXT)"
            screenshot key-name
            click "$VIEW" $ID_VIEW_COPY
            wait_for "复制 in 查看" 'a\.b\\c' drv clip-get
            click "$VIEW" $ID_VIEW_CLOSE
            closed "$VIEW"
        else
            fail "no 查看 window after 主键名"
        fi
    else
        fail "no input box 格式化主键名"
    fi
}

journey_restart() {
    # Leave a state worth restoring: 全部展开 on, the web source, an edited text.
    click_toolbar "解析"
    wait_for "result page" 1 drv tab "$MAIN" $ID_MAIN_TABS
    click "$MAIN" $ID_EXPAND_ALL
    wait_for "全部展开 ticked" 1 drv checked "$MAIN" $ID_EXPAND_ALL
    wait_for "全部展开 expands every container" "1 EB tags" bash -c \
        "wine '$E2E_DRIVER' tree '$MAIN' $ID_TREE | grep -F tags"
    click "$MAIN" $ID_BACK
    focus && click "$MAIN" $ID_SOURCE && key Down Return
    wait_for "网址 page" 1 drv tab "$MAIN" $ID_SOURCE_TABS
    local url
    url=$(text $ID_URL)
    expect "address kept" "$KOVA_TEST_HTTP_BASE/utf8" "$url"
    # A character typed at the start of the editor (leading space keeps the JSON valid).
    local content=" $DOC"
    click "$MAIN" $ID_EDITOR_FRAME
    key ctrl+Home space
    wait_for "typed into the editor" "$content" editor

    # Resize as a window manager would, through the X server: the X window is the client area.
    local before after xid frame_w frame_h
    before=$(drv center "$MAIN" $ID_RIGHT_TOOLBAR)
    xid=$(x_window "$MAIN")
    read -r frame_w frame_h < <(xdotool getwindowgeometry --shell "$xid" | awk -F= '
        $1 == "WIDTH" { w = $2 } $1 == "HEIGHT" { h = $2 } END { print 657 - w, 468 - h }')
    xdotool windowsize --sync "$xid" $((900 - frame_w)) $((700 - frame_h))
    wait_for "resized" "50 50 900 700" drv rect "$MAIN"
    after=$(drv center "$MAIN" $ID_RIGHT_TOOLBAR)
    expect "关于 follows the right edge" "$((${before% *} + 900 - 657)) ${before#* }" "$after"
    screenshot resized
    close_program
    expect "buffer file holds the editor text" "$content" "$(cat "$E2E_APP/kova.json.buffer.dat")"
    local settings=$E2E_APP/kova.json.config.json
    if [ -f "$settings" ]; then pass "settings written"; else fail "no settings file"; fi
    local stamps
    stamps=$(stat -c '%n %y %s' "$settings" "$E2E_APP/kova.json.buffer.dat")

    start_program
    expect "rectangle restored" "50 50 900 700" "$(drv rect "$MAIN")"
    expect "source restored" "网址" "$(text $ID_SOURCE)"
    expect "source page restored" 1 "$(drv tab "$MAIN" $ID_SOURCE_TABS)"
    expect "address restored" "$url" "$(text $ID_URL)"
    expect "全部展开 restored" 1 "$(drv checked "$MAIN" $ID_EXPAND_ALL)"
    expect "content restored" "$content" "$(editor)"
    no_box
    screenshot restarted
    close_program
    expect "nothing rewritten when nothing changed" "$stamps" \
        "$(stat -c '%n %y %s' "$settings" "$E2E_APP/kova.json.buffer.dat")"
}

journey_about() {
    start_program
    click_toolbar "关于"
    if ! drv wait "$ABOUT" 20; then
        fail "no window \"$ABOUT\""
        return
    fi
    pass "关于 opens \"$ABOUT\""
    expect "version line" "KOVA.VivuDivezi 版本 1.2.1 - 2020/4/4" "$(drv text "$ABOUT" $ID_ABOUT_VERSION)"
    expect "update notes from NEWS.txt" "$(tr -d '\r' <"$E2E_APP/NEWS.txt")" \
        "$(drv text "$ABOUT" $ID_ABOUT_NEWS | tr -d '\r')"
    screenshot about
    click "$ABOUT" $ID_ABOUT_OK
    closed "$ABOUT" && pass "确定 closes it"

    # NEWS.txt is read again on every opening, in its own encoding.
    printf '新的说明 1.2.2\r\n' | iconv -f UTF-8 -t GBK >"$E2E_APP/NEWS.txt"
    click_toolbar "关于"
    if drv wait "$ABOUT" 20; then
        expect "changed NEWS.txt shown" "新的说明 1.2.2" "$(drv text "$ABOUT" $ID_ABOUT_NEWS | tr -d '\r')"
        click "$ABOUT" $ID_ABOUT_OK
        closed "$ABOUT"
    else
        fail "About did not open again"
    fi
    close_program
}

# "kova-json.exe FILE" from a folder beside the file's, Ctrl+F and F3 on the result page,
# and a document that breaks: where it breaks, in the message and in the editor.
journey_open_and_find() {
    [ -z "$E2E_PID" ] || close_program
    local name="数据 文件.json"
    printf '%s' '{"users":[{"name":"Ann","city":"北京"},{"name":"Bob","city":"Paris"}],"count":2}' \
        >"$E2E_FILES/$name"
    start_program "../files/$name"
    wait_for "opened on the result page" 1 drv tab "$MAIN" $ID_MAIN_TABS
    expect "file source" "文件" "$(text $ID_SOURCE)"
    expect "its full path in the box" "$(windows_path "$E2E_FILES/$name")" "$(text $ID_FILE)"
    expect_contains "its tree, 全部展开 as restored" "B users" "$(drv tree "$MAIN" $ID_TREE)"
    no_box
    screenshot opened-from-command-line

    focus && key ctrl+f
    drv wait "查找" 10 >/dev/null && pass "Ctrl+F asks"
    type_text "paris"
    key Return
    wait_for "found inside the users list" '//users[2].city' text $ID_PATH
    expect "its content" "Paris" "$(text $ID_CONTENT)"
    screenshot found-node
    focus && key F3
    wait_for "F3 wraps to the same one" '//users[2].city' text $ID_PATH
    key ctrl+f
    drv wait "查找" 10 >/dev/null
    key ctrl+a && type_text "NAME"
    key Return
    wait_for "a key, past the end from the first" '//users[1].name' text $ID_PATH
    key F3
    wait_for "F3 finds the next" '//users[2].name' text $ID_PATH
    key shift+F3
    wait_for "Shift+F3 the one before" '//users[1].name' text $ID_PATH

    click "$MAIN" $ID_BACK
    wait_for "JSON page" 0 drv tab "$MAIN" $ID_MAIN_TABS
    click "$MAIN" $ID_EDITOR_FRAME
    key ctrl+a
    type_text '{"a": [1, 2,, 3]}'
    key F5
    for _ in $(seq 40); do drv nomsgbox >/dev/null 2>&1 || break; sleep 0.25; done
    screenshot failure-message
    answer_box "加载失败" "加载[存取键值表]类型 JSON 失败
位置：第 1 行，第 13 列"
    expect "caret on the place, marked" "12 1" "$(drv caret "$MAIN")"
    screenshot failure-place
    key Home x Home
    xdotool key --clearmodifiers --repeat 13 Right
    wait_for "the mark goes with the next change" "13 0" drv caret "$MAIN"
}

# The scenarios the terminal and the GTK field both run (sourced after e2e_lib.sh):
# common_scenario NAME defines the abbreviations (abbr), what the user does (act) and what
# the field must then hold (expect); the GTK field also reads focus and check. It fails for
# a name it does not know.
common_scenario() {
  case $1 in
  immediate)
    abbr qqi 3 0 "immediately"
    act() { type_text "go qqi!"; }
    expect="go immediately!" ;;
  word_ending)
    focus=entry check=entry
    abbr btw 5 0 "by the way"
    act() { type_text "hi btw ok btwx "; }
    expect="hi by the way ok btwx " ;;
  trigger_key)
    abbr sig 4 0 "Kind regards"
    act() { type_text "sig"; keys ctrl; type_text " x"; }
    expect="Kind regards x" ;;
  case_adapt)
    focus=entry check=entry
    abbr btw 5 2 "by the way"
    act() { type_text "Btw BTW btw "; }
    expect="By the way BY THE WAY by the way " ;;
  unicode)
    abbr qqu 3 0 "caf&#233; stra&#223;e &#26085;&#26412; &#128512; &#371;&#8469;"
    act() { type_text "qqu"; }
    expect="café straße 日本 😀 ųℕ" ;;
  multi_line)
    abbr addr 5 0 "Main Street 1&#10;12345 Town"
    act() { type_text "addr."; keys Return; type_text "x"; }
    expect="Main Street 1
12345 Town.
x" ;;
  cursor)
    abbr tag 3 0 "&lt;b&gt;%(cursor)&lt;/b&gt;"
    act() { type_text "tag"; type_text "bold"; }
    expect="<b>bold</b>" ;;
  key_macros)
    abbr qqk 3 0 "ab%(Key Left)X%(Key End)!%(Key Tab 2)z"
    act() { type_text "qqk"; }
    expect="aXb!		z" ;;
  delay)
    abbr qqd 3 0 "a%(Delay 700)b"
    act() { type_text "qqd"; }
    expect="ab" ;;
  interactive_tab)
    abbr qqr 3 0 "Dear %(Input name),%(Key Enter)Thanks"
    act() { type_text "qqr"; sleep 0.5; type_text "Bob"; keys Tab; }
    expect="Dear Bob,
Thanks" ;;
  interactive_escape)
    abbr qqr 3 0 "Dear %(Input name),%(Key Enter)Thanks"
    act() { type_text "qqr"; sleep 0.5; type_text "Bob"; keys Escape; type_text " ok"; }
    expect="Dear Bob ok" ;;
  caps_lock)
    focus=entry check=entry
    abbr btw 5 1 "by the way"
    act() { keys Caps_Lock; type_text "btw "; keys Caps_Lock; type_text "x"; }
    expect="by the way x" ;;
  german_altgr)
    layout=de
    abbr qqg 3 0 "@&#8364;{[]}\\|~ &#228;&#246;&#252;"
    act() { type_text "qqg"; }
    expect="@€{[]}\\|~ äöü" ;;
  dead_key_abbreviation)
    layout=us variant=intl
    abbr "caf&#233;" 5 0 "coffee"
    act() { keys c a f dead_acute e space; }
    expect="coffee " ;;
  many_unbound)
    # More characters absent from the keymap than Tolvan has spare keys for: the keys are
    # bound anew while the application may still be reading their earlier characters.
    abbr qqz 3 0 "$(python3 -c 'print("".join("&#%d;" % c for c in range(0x4E00, 0x4E00 + 60)))')"
    act() { type_text "qqz"; }
    expect=$(python3 -c 'print("".join(map(chr, range(0x4E00, 0x4E00 + 60))))') ;;
  *) return 1 ;;
  esac
}

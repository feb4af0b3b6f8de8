#!/usr/bin/env node
// Parses SQL Server texts with a T-SQL grammar and reports every syntax error.
//
//   node tsql-check.js FILE...
//
// A .sql file is a script: it is split into batches at its "GO" lines and each batch is parsed
// on its own. A .json file holds an array of {"origin": "...", "sql": "..."} texts as the
// program sends them; their ":Name" placeholders become "@Name" variables first. Exits 1 when
// any text fails to parse, listing each failure with where it came from.
'use strict';
const fs = require('fs');
const path = require('path');
const { antlr4tsSQL, SQLDialect } = require('antlr4ts-sql');

// The grammar knows CREATE VIEW but not ALTER VIEW, whose body is the same; an ALTER VIEW batch
// is parsed as the CREATE VIEW it replaces.
function WithKnownGaps(sql) {
    return sql.replace(/^(\s*(?:--[^\n]*\n\s*)*)ALTER\s+VIEW\b/i, '$1CREATE VIEW');
}

// ":Name" outside quoted literals becomes "@Name"; "::" is left alone.
function WithVariables(sql) {
    let out = '';
    let quoted = false;
    for (let i = 0; i < sql.length; ++i) {
        const c = sql[i];
        if (c === "'") quoted = !quoted;
        if (!quoted && c === ':' && sql[i + 1] !== ':' && sql[i - 1] !== ':' &&
            /[A-Za-z_]/.test(sql[i + 1] || '')) {
            out += '@';
            continue;
        }
        out += c;
    }
    return out;
}

function SyntaxErrors(sql) {
    const tool = new antlr4tsSQL(SQLDialect.TSQL);
    const errors = [];
    const listener = {
        syntaxError: (recognizer, symbol, line, column, message) =>
            errors.push(`${line}:${column} ${message.slice(0, 160)}`),
    };
    const parser = tool.getParser(tool.getTokens(sql, [listener]), [listener]);
    tool.getParseTree(parser);
    return errors;
}

function ScriptBatches(file) {
    const text = fs.readFileSync(file, 'utf8').replace(/^\uFEFF/, '');
    const batches = [];
    let current = [];
    let startLine = 1;
    text.split(/\r?\n/).forEach((line, index) => {
        if (/^\s*GO\s*$/i.test(line)) {
            batches.push({ origin: `${file}:${startLine}`, sql: current.join('\n') });
            current = [];
            startLine = index + 2;
            return;
        }
        current.push(line);
    });
    batches.push({ origin: `${file}:${startLine}`, sql: current.join('\n') });
    return batches.filter((b) => b.sql.replace(/--[^\n]*/g, '').trim() !== '');
}

function ProgramTexts(file) {
    return JSON.parse(fs.readFileSync(file, 'utf8')).map((t) => ({
        origin: `${path.basename(file)}: ${t.origin}`,
        sql: WithVariables(t.sql),
    }));
}

function Main(files) {
    let checked = 0;
    const failures = [];
    for (const file of files) {
        const texts = file.endsWith('.json') ? ProgramTexts(file) : ScriptBatches(file);
        for (const text of texts) {
            ++checked;
            const errors = SyntaxErrors(WithKnownGaps(text.sql));
            if (errors.length)
                failures.push(`${text.origin}\n  ${errors.join('\n  ')}\n  ${text.sql.trim().slice(0, 400)}`);
        }
    }
    console.log(`${checked} T-SQL texts parsed, ${failures.length} with syntax errors`);
    failures.forEach((f) => console.log(f));
    return failures.length === 0 && checked > 0 ? 0 : 1;
}

process.exitCode = Main(process.argv.slice(2));

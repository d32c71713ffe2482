// The score query in a real browser on a generated school: sign-in lands on the page, a
// search, paging to the last page, the statistics panel, and an export that downloads a
// workbook a spreadsheet reader opens.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { startServer, openBrowser } from './harness.mjs';

const READER = fileURLToPath(new URL('../support/read_xlsx.py', import.meta.url));

let server;
let b;

before(async () => {
  server = await startServer({
    prepare: (dataDir) => {
      execFileSync(process.env.ZEZIZA_GENERATE, ['--data-dir', dataDir, '--students', '75',
        '--exams', '1', '--subjects', '3', '--absent', '0', '--password', 'geheim']);
    },
  });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

// The result's pager line: its status and its links.
const STATUS = '#resultpager .gridpager-status';
const pagerLink = (param) => `#resultpager a[data-iw-param=${param}]`;
const gridRows = (id) => b.page.locator(`#${id} tr`).count();

test('search, paging, statistics panel and export', async () => {
  const { page, dialogs } = b;
  await page.goto(server.url + '/');
  await page.waitForFunction(() => document.title === '系统登录');
  await b.settled();
  await page.fill('#usernameedit', 'admin');
  await page.fill('#passwordedit', 'geheim');
  await b.submitBy('#signinbutton');
  assert.equal(await page.title(), 'Zeziza学生成绩管理系统');
  assert.equal(await page.textContent(STATUS), '---');

  await b.submitBy('#querybutton');
  assert.equal(await page.textContent(STATUS), '共有75条符合条件的记录  [第1页/共3页]');
  assert.equal(await gridRows('resultsgrid'), 31);
  await b.submitBy(pagerLink('page_last'));
  assert.equal(await page.textContent(STATUS), '共有75条符合条件的记录  [第3页/共3页]');
  assert.equal(await gridRows('resultsgrid'), 16);

  assert.equal(await page.isVisible('#statisticspanel'), false);
  await b.submitBy('#statisticslink');
  assert.ok(await page.isVisible('#statisticspanel'));
  assert.equal(await gridRows('summarygrid'), 4);
  assert.equal(await page.textContent('#summarygrid tr:nth-child(2) td:first-child'), '语文');
  assert.equal(await page.textContent('#summarygrid tr:nth-child(2) td:nth-child(3)'), '75');
  await b.submitBy('#closestatisticslink');
  assert.equal(await page.isVisible('#statisticspanel'), false);

  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#exportlink')]);
  assert.equal(download.suggestedFilename(), '成绩查询_2024学年第1次考试.xlsx');
  const saved = join(server.dataDir, download.suggestedFilename());
  await download.saveAs(saved);
  const sheet = JSON.parse(execFileSync('/usr/bin/python3', [READER, saved]));
  assert.equal(sheet.rows.length, 77);
  assert.deepEqual(sheet.rows[0].map((c) => c[1]), ['查询范围:', '2024学年第1次考试', '所有学校', '所有年级', '所有班']);
  assert.deepEqual(sheet.rows[1].map((c) => c[1]),
    ['考试名称', '考号', '姓名', '学校', '年级', '班次', '语文', '数学', '英语', '总分', '平均分', '缺考']);
  assert.equal(sheet.rows[2][9][0], 'n');
  // The page stays usable after the download.
  await b.submitBy(pagerLink('page_first'));
  assert.equal(await page.textContent(STATUS), '共有75条符合条件的记录  [第1页/共3页]');
  assert.equal(dialogs.length, 0);
});
